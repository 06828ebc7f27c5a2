#pragma once
// The command line: `vostrel` opens the windows on the data file beside the program,
// `--data FILE` on another file, `--help` and `--version` print and end, and a command name
// runs that command without windows. The commands are a table; each gets its own arguments.
#include "app/ConsoleMessageBoxes.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Session;

namespace exitstatus {
inline constexpr int Done = 0;
inline constexpr int Failed = 1;     // refused or failed; the reason is on standard error
inline constexpr int WrongUsage = 2; // unknown command or option, missing argument
} // namespace exitstatus

using Print = std::function<void(const QString&)>;
// A line read from standard input, after the prompt; none at the end of the input. A secret is
// not echoed on a terminal.
using ReadLine = std::function<std::optional<QString>(const QString& prompt, bool secret)>;

// One run of a command without windows.
class CommandContext {
public:
    CommandContext(QStringList args, QString dataFile, Print print, Print printError, ReadLine readLine = {},
                   bool interactive = false);
    ~CommandContext();

    const QStringList args;  // the words after the command's name
    const QString dataFile;  // --data, or the usual data file
    const Print print;       // standard output, a line each
    const Print printError;  // standard error, a line each
    const ReadLine readLine; // standard input
    const bool interactive;  // standard input is a terminal: someone is there to answer questions

    // A yes/no question on the terminal; without one nobody is asked and the answer is Yes.
    bool confirm(const QString& question) const;

    // The data file opened and its options loaded, as every start does; null when the file
    // cannot be used (the reason was printed).
    Session* session();
    // The command's own usage fault: the reason on standard error; returns WrongUsage.
    int wrongUsage(const QString& reason) const;

private:
    ConsoleMessageBoxes boxes_;
    std::unique_ptr<Session> session_;
    bool tried_ = false;
};

struct Command {
    QString name;
    QString synopsis;    // the arguments, for the help text: "DEST"
    QString description; // one line
    std::function<int(CommandContext&)> run;
    bool paints = false; // draws pages (a PDF), which needs fonts: runs on the offscreen platform
};

// The windows on a data file; returns the exit status.
using WindowsStart = std::function<int(const QString& dataFile)>;

class CommandLine {
public:
    explicit CommandLine(std::vector<Command> commands);

    // Where the texts go; UTF-8 on standard output and standard error unless a test says otherwise.
    Print print;
    Print printError;
    // Where the usual data file is looked for: beside the program, or in the user's data folder
    // when the program is installed (see ChooseDataFile).
    QString programFolder;
    // Where answers come from: standard input, and whether it is a terminal.
    ReadLine readLine;
    bool interactive;

    // Parses the program's arguments (argv[0] first) before any application object exists:
    // help, version and wrong usage print and end without one; a command runs with a
    // QCoreApplication; the windows make their own QApplication.
    int run(int& argc, char** argv, const WindowsStart& windows);
    // The same for arguments already decoded, inside an existing application object.
    int run(const QStringList& arguments, const WindowsStart& windows);

    // The help, naming the data file that would be used.
    QString helpText(const QString& dataFile) const;

private:
    int dispatch(const QStringList& arguments, const WindowsStart& windows,
                 const std::function<void(bool paints)>& needApp);
    std::vector<Command> commands_;
};
