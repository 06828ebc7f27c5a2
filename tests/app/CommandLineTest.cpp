#include "app/CommandLine.h"
#include "core/Session.h"
#include "support/TestFixture.h"

#include <QProcess>

namespace {

// The command line with a command of the test's own and its texts caught.
class CommandLineTest : public LedgerFixture {
protected:
    CommandLineTest() {
        commandLine.print = [this](const QString& line) { out += line + '\n'; };
        commandLine.printError = [this](const QString& line) { err += line + '\n'; };
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        windowsFile.reset();
        return commandLine.run(QStringList{"vostrel"} + args, [this](const QString& dataFile) {
            windowsFile = dataFile;
            return 0;
        });
    }

    QStringList seenArgs;
    CommandLine commandLine{{{"name", "", "the business name", [this](CommandContext& c) {
                                  seenArgs = c.args;
                                  Session* s = c.session();
                                  if (!s) return exitstatus::Failed;
                                  c.print("名称：" + s->options.MingCheng);
                                  return seenArgs.isEmpty() ? exitstatus::Done : c.wrongUsage("多余的参数");
                              }}}};
    QString out, err;
    std::optional<QString> windowsFile;
};

// The program as a user starts it in a terminal, without a display: its exit status and output.
std::pair<int, QString> runProgram(const QString& arg) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    p.setProcessEnvironment(env);
    p.start(VOSTREL_PROGRAM, {arg});
    p.waitForFinished(30000);
    const int status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {status, QString::fromUtf8(p.readAllStandardOutput())};
}

} // namespace

TEST_F(CommandLineTest, HelpAndVersionWorkWithoutADisplay) {
    EXPECT_EQ(runProgram("--version"), std::pair(0, QString("Vostrel 3.6\n")));
    const auto [status, help] = runProgram("--help");
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(help.contains("--data <文件>")) << help.toStdString();

    EXPECT_EQ(run({"-h"}), 0);
    EXPECT_TRUE(out.contains("  name \n      the business name")) << out.toStdString();
    EXPECT_FALSE(windowsFile.has_value());
}

TEST_F(CommandLineTest, WrongUsageEndsWithStatusTwo) {
    for (const QStringList& args :
         {QStringList{"nosuch"}, QStringList{"--nosuch"}, QStringList{"--data"}, QStringList{"--data="},
          QStringList{"--data", dataPath(), "name", "extra"}}) {
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.endsWith("用 vostrel --help 查看用法。\n")) << err.toStdString();
        EXPECT_FALSE(windowsFile.has_value());
    }
    run({"nosuch"});
    EXPECT_EQ(err, "未知的命令：nosuch\n用 vostrel --help 查看用法。\n");
    run({"--data"});
    EXPECT_TRUE(err.startsWith("选项 --data 后面缺少数据文件的名称。")) << err.toStdString();
}

TEST_F(CommandLineTest, DataOptionChoosesTheFileForTheWindowsAndTheCommands) {
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(windowsFile, ""); // the one beside the program
    EXPECT_EQ(run({"--data", "/tmp/其它.mdb"}), 0);
    EXPECT_EQ(windowsFile, "/tmp/其它.mdb");

    session.execSql("update T_Option set MingCheng='小店' where id=3");
    EXPECT_EQ(run({"--data", dataPath(), "name"}), 0);
    EXPECT_EQ(out, "名称：小店\n");
    EXPECT_TRUE(err.isEmpty());
    // Options after the command's name are the command's own.
    EXPECT_EQ(run({"--data=" + dataPath(), "name", "--data", "x"}), 2);
    EXPECT_EQ(seenArgs, QStringList({"--data", "x"}));

    // A data file that cannot be used: refused, the reason on standard error.
    EXPECT_EQ(run({"--data", dir.filePath("missing.mdb"), "name"}), 1);
    EXPECT_EQ(err, "数据文件出现错误，程序不能继续运行!\n");
    EXPECT_TRUE(out.isEmpty());
}
