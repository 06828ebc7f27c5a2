#include "app/CommandLine.h"
#include "AppFixture.h"
#include "core/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The command line with a command of the test's own and its texts caught.
class CommandLineTest : public LedgerFixture {
protected:
    CommandLineTest() {
        commandLine.print = [this](const QString& line) { out += line + '\n'; };
        commandLine.printError = [this](const QString& line) { err += line + '\n'; };
        commandLine.programFolder = dir.path(); // a portable copy, its data file beside it
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

// An environment variable set for one test, and put back after it.
class EnvSetting {
public:
    EnvSetting(const char* name, const QByteArray& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~EnvSetting() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

} // namespace

TEST_F(CommandLineTest, HelpVersionAndWrongUsage) {
    const ProgramRun version = runProgram({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Vostrel 3.6\n");

    EXPECT_EQ(run({"-h"}), 0);
    EXPECT_TRUE(out.contains("  name\n      the business name")) << out.toStdString();
    EXPECT_TRUE(out.contains("\n数据文件：" + dataPath() + "\n")) << out.toStdString();
    EXPECT_FALSE(windowsFile.has_value());
    run({"--data", "/tmp/其它.mdb", "--help"});
    EXPECT_TRUE(out.contains("\n数据文件：/tmp/其它.mdb\n")) << out.toStdString();

    // Wrong usage ends with status 2.
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
    EXPECT_EQ(windowsFile, dataPath());
    EXPECT_EQ(run({"--data", "/tmp/其它.mdb"}), 0);
    EXPECT_EQ(windowsFile, "/tmp/其它.mdb");
    EXPECT_FALSE(QFile::exists("/tmp/其它.mdb")); // named, so never made

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

TEST_F(CommandLineTest, AnInstalledProgramKeepsItsDataInTheUsersDataFolderMadeOnFirstStart) {
    // <prefix>/bin/vostrel with its desktop entry in <prefix>/share/applications; the folder
    // is writable (as /usr/bin is for root), and still not where the data goes.
    ASSERT_TRUE(QDir(dir.path()).mkpath("usr/bin") && QDir(dir.path()).mkpath("usr/share/applications"));
    writeFile(dir.filePath("usr/share/applications/org.vostrel.Vostrel.desktop"), {});
    commandLine.programFolder = dir.filePath("usr/bin");
    EnvSetting home("HOME", QFile::encodeName(dir.filePath("home")));
    EnvSetting xdg("XDG_DATA_HOME", QByteArray());
    const QString usual = dir.filePath("home/.local/share/vostrel/DBvost.mdb");

    run({"--help"});
    EXPECT_TRUE(out.contains("\n数据文件：" + usual + "\n")) << out.toStdString();
    EXPECT_FALSE(QFile::exists(usual));
    EXPECT_EQ(run({"name"}), 0);
    EXPECT_EQ(out, "名称：\n");
    // The user's own: nobody else may read or enter them.
    for (const QString& made : {usual, dir.filePath("home/.local/share/vostrel")})
        EXPECT_EQ(QFileInfo(made).permissions() & 0x0077, 0) << made.toStdString();

    EnvSetting xdgSet("XDG_DATA_HOME", QFile::encodeName(dir.filePath("xdg")));
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(windowsFile, dir.filePath("xdg/vostrel/DBvost.mdb"));
    EXPECT_TRUE(QFile::exists(*windowsFile));
}
