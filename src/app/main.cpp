// Entry point: the application object, the shared session, and start-up.
#include "app/GuiStartup.h"
#include "core/Session.h"
#include "core/Startup.h"
#include "mainwindow/frmmain.h"
#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

namespace {

// The window that opens after a successful login.
QWidget* makeMainWindow(Session& session) {
    return new frmmain(session);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(qMax<qreal>(QApplication::font().pointSizeF(), 10));
    QApplication::setFont(font);
    // Chinese throughout: Qt's own buttons and dialogs ("是"/"否"), calendars and month names.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QtMessageBoxes boxes;
    Session session(boxes);
    try {
        return RunStartup(session, DataFilePath(), makeMainWindow);
    } catch (const ProgramStop& stop) {
        return stop.exitCode;
    }
}
