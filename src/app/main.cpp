// Entry point: the application object, the shared session, and start-up.
#include "core/QtMessageBoxes.h"
#include "core/Session.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtMessageBoxes boxes;
    Session session(boxes);
    return 0;
}
