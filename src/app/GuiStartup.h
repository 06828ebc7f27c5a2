#pragma once
// The windowed start: the data file and its options, the login, and the main window.
#include <QString>
#include <functional>

class QTranslator;
class QWidget;
class Session;

// Makes the main window for the logged-in session; start-up owns and shows it.
using MainWindowFactory = std::function<QWidget*(Session&)>;

// Loads Qt's own texts (standard buttons, file and print dialogs) in Chinese into the translator,
// which must outlive the application's use of it, and installs it. False when they are missing.
bool InstallQtChineseTexts(QTranslator& translator);

// Opens the data file, loads the options, asks for the password and, after a successful login,
// shows the main window and runs until it is closed. Returns the program's exit status:
// non-zero when the data file cannot be used.
int RunStartup(Session& session, const QString& dataFile, const MainWindowFactory& makeMainWindow);

// The program with windows: the application object in Chinese, the session, and the start-up
// on the data file. Returns the exit status.
int StartWindows(int& argc, char** argv, const QString& dataFile);
