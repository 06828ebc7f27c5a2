#include "app/GuiStartup.h"

#include "admin/DailySafetyCopy.h"
#include "core/DataFileLock.h"
#include "core/Session.h"
#include "core/Startup.h"
#include "mainwindow/frmmain.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPrinters.h"
#include "ui/frmKey.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>
#include <QWidget>
#include <memory>

bool InstallQtChineseTexts(QTranslator& translator) {
    if (!translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false; // without the translations package Qt's buttons stay English, nothing worse
    return QCoreApplication::installTranslator(&translator);
}

int RunStartup(Session& session, const QString& dataFile, const MainWindowFactory& makeMainWindow) {
    // One window per data file, taken before anything reads or upgrades it. A file that is not
    // there is refused by the start itself, with its own message.
    DataFileLock lock(dataFile);
    if (QFileInfo(dataFile).isFile())
        if (const int status = LockDataFile(session, lock)) return status;
    // The connection closes before the lock goes, so the next start finds the file at rest.
    struct CloseFirst {
        Session& s;
        ~CloseFirst() { s.close(); }
    } closeFirst{session};
    if (const int status = StartSession(session, dataFile)) return status;
    {
        frmKey login(session);
        login.exec();
    }
    // Given up or three wrong passwords: no window is left and the program ends normally.
    if (session.statusText != QLatin1String("Go")) return 0;
    DailySafetyCopy safetyCopy(session); // the login's own log line is no change worth a copy
    const std::unique_ptr<QWidget> main(makeMainWindow(session));
    main->show();
    const int status = QApplication::exec();
    safetyCopy.atExit();
    // The main window goes before the session it works on.
    return status;
}

int StartWindows(int& argc, char** argv, const QString& dataFile) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(qMax<qreal>(QApplication::font().pointSizeF(), 10));
    QApplication::setFont(font);
    // Chinese throughout: Qt's own buttons and dialogs ("是"/"否"), calendars and month names.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator qtTexts;
    InstallQtChineseTexts(qtTexts);

    QtMessageBoxes boxes;
    QtFileDialogs fileDialogs;
    QtPrinters printers;
    Session session(boxes, fileDialogs, printers);
    try {
        return RunStartup(session, dataFile, [](Session& s) -> QWidget* { return new frmmain(s); });
    } catch (const ProgramStop& stop) {
        return stop.exitCode;
    }
}
