#include "app/GuiStartup.h"

#include "core/Session.h"
#include "core/Startup.h"
#include "ui/frmKey.h"

#include <QApplication>
#include <QWidget>
#include <memory>

int RunStartup(Session& session, const QString& dataFile, const MainWindowFactory& makeMainWindow) {
    if (const int status = StartSession(session, dataFile)) return status;
    {
        frmKey login(session);
        login.exec();
    }
    // Given up or three wrong passwords: no window is left and the program ends normally.
    if (session.statusText != QLatin1String("Go")) return 0;
    const std::unique_ptr<QWidget> main(makeMainWindow(session));
    main->show();
    // The main window goes before the session it works on.
    return QApplication::exec();
}
