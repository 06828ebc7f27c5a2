#include "app/CommandLine.h"

#include "core/DataFileLocation.h"
#include "core/Options.h"
#include "core/Session.h"
#include "core/Startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

Print writerTo(FILE* stream) {
    return [stream](const QString& line) {
        const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
        std::fflush(stream);
    };
}

const QString kSeeHelp = QStringLiteral("用 vostrel --help 查看用法。");

std::optional<QString> readStandardInput(const QString& prompt, bool secret) {
    const bool terminal = ::isatty(STDIN_FILENO);
    if (terminal) {
        const QByteArray p = prompt.toUtf8();
        std::fwrite(p.constData(), 1, size_t(p.size()), stderr);
        std::fflush(stderr);
    }
    termios before{};
    const bool hide = secret && terminal && ::tcgetattr(STDIN_FILENO, &before) == 0;
    if (hide) {
        termios quiet = before;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool read = bool(std::getline(std::cin, line));
    if (hide) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
        std::fputc('\n', stderr); // the Enter typed was not echoed either
    }
    if (!read) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return QString::fromStdString(line);
}

} // namespace

CommandContext::CommandContext(QStringList args, QString dataFile, Print print, Print printError,
                               ReadLine readLine, bool interactive)
    : args(std::move(args)), dataFile(std::move(dataFile)), print(std::move(print)),
      printError(std::move(printError)), readLine(std::move(readLine)), interactive(interactive),
      boxes_(this->printError) {}

bool CommandContext::confirm(const QString& question) const {
    if (!interactive) return true;
    const auto answer = readLine(question.trimmed() + QStringLiteral("（是/否）"), false);
    if (!answer) return false;
    const QString a = answer->trimmed().toLower();
    return a == QStringLiteral("是") || a == QLatin1String("y") || a == QLatin1String("yes");
}

CommandContext::~CommandContext() = default;

Session* CommandContext::session() {
    if (!tried_) {
        tried_ = true;
        session_ = std::make_unique<Session>(boxes_);
        if (StartSession(*session_, dataFile) != exitstatus::Done) session_.reset();
    }
    return session_.get();
}

int CommandContext::wrongUsage(const QString& reason) const {
    printError(reason);
    printError(kSeeHelp);
    return exitstatus::WrongUsage;
}

CommandLine::CommandLine(std::vector<Command> commands)
    : print(writerTo(stdout)), printError(writerTo(stderr)), programFolder(ProgramFolder()),
      readLine(readStandardInput), interactive(::isatty(STDIN_FILENO)), commands_(std::move(commands)) {}

QString CommandLine::helpText(const QString& dataFile) const {
    QString text =
        QStringLiteral("用法：vostrel [--data 文件] [命令 [参数…]]\n\n") + app::kTitle +
        QStringLiteral("：小商店的进货、销售与库存台账。不带命令时打开程序窗口。\n\n"
                       "选项：\n"
                       "  --data <文件>   使用这个数据文件，而不是平常的数据文件\n"
                       "  -h, --help      显示本帮助\n"
                       "  -v, --version   显示版本\n\n"
                       "平常的数据文件 DBvost.mdb 在程序所在的文件夹中（该文件夹可写而程序未经安装时），"
                       "否则在 $XDG_DATA_HOME/vostrel/（默认 ~/.local/share/vostrel/），"
                       "初次启动时新建。\n") +
        QStringLiteral("数据文件：") + dataFile + QLatin1Char('\n');
    if (!commands_.empty()) {
        text += QStringLiteral("\n命令（不打开窗口）：\n");
        for (const Command& c : commands_)
            text += QStringLiteral("  ") + c.name +
                    (c.synopsis.isEmpty() ? QString() : QLatin1Char(' ') + c.synopsis) +
                    QStringLiteral("\n      ") + c.description + QLatin1Char('\n');
    }
    text += QStringLiteral("\n退出状态：0 完成，1 被拒绝或失败（原因见标准错误输出），2 用法错误。");
    return text;
}

int CommandLine::run(int& argc, char** argv, const WindowsStart& windows) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::optional<QCoreApplication> core;
    std::optional<QGuiApplication> gui;
    return dispatch(arguments, windows, [&](bool paints) {
        if (QCoreApplication::instance()) return;
        if (!paints) {
            core.emplace(argc, argv);
            return;
        }
        // Fonts come with a platform; the offscreen one needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        gui.emplace(argc, argv);
    });
}

int CommandLine::run(const QStringList& arguments, const WindowsStart& windows) {
    return dispatch(arguments, windows, [](bool) {});
}

int CommandLine::dispatch(const QStringList& arguments, const WindowsStart& windows,
                          const std::function<void(bool paints)>& needApp) {
    QCommandLineParser parser;
    // What follows the command's name is the command's own, options included.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption data(QStringLiteral("data"), {}, QStringLiteral("文件"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({data, help, version});
    const bool parsed = parser.parse(arguments);
    if (!parsed || (parser.isSet(data) && parser.value(data).isEmpty())) {
        // Only --data takes a value; Qt's own texts are English.
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            printError(QStringLiteral("未知的选项：") + unknown.first());
        else if (parsed || parser.errorText().startsWith(QLatin1String("Missing value")))
            printError(QStringLiteral("选项 --data 后面缺少数据文件的名称。"));
        else
            printError(QStringLiteral("命令行有误：") + parser.errorText());
        printError(kSeeHelp);
        return exitstatus::WrongUsage;
    }
    const bool usual = !parser.isSet(data);
    const QString dataFile = ChooseDataFile(FindDataFilePlaces(programFolder, parser.value(data)));
    if (parser.isSet(help)) {
        print(helpText(dataFile));
        return exitstatus::Done;
    }
    if (parser.isSet(version)) {
        print(app::kTitle + QLatin1Char(' ') + app::kVersion);
        return exitstatus::Done;
    }
    // The usual file is made on first use; a file named by --data must exist, so that a
    // mistyped name is refused instead of starting an empty ledger.
    auto makeUsualFile = [&] {
        if (!usual) return;
        try {
            EnsureDataFile(dataFile);
        } catch (const DbError& e) {
            printError(e.text); // opening it then fails with the program's own message
        }
    };
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        makeUsualFile();
        return windows(dataFile);
    }

    for (const Command& c : commands_) {
        if (c.name != words.first()) continue;
        needApp(c.paints);
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        makeUsualFile();
        CommandContext context(words.mid(1), dataFile, print, printError, readLine, interactive);
        try {
            return c.run(context);
        } catch (const ProgramStop& stop) {
            return stop.exitCode;
        } catch (const DbError& e) {
            printError(e.text);
            return exitstatus::Failed;
        }
    }
    printError(QStringLiteral("未知的命令：") + words.first());
    printError(kSeeHelp);
    return exitstatus::WrongUsage;
}
