// vostrel backup and vostrel restore: the copy, the password from standard input, the refusals
// and the question asked only on a terminal.
#include "app/Commands.h"
#include "core/Session.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QProcess>

namespace {

class BackupCommandsTest : public LedgerFixture {
protected:
    BackupCommandsTest() {
        commandLine.print = [this](const QString& line) { out += line + '\n'; };
        commandLine.printError = [this](const QString& line) { err += line + '\n'; };
        commandLine.readLine = [this](const QString& prompt, bool secret) -> std::optional<QString> {
            prompts << prompt + (secret ? "*" : "");
            if (input.isEmpty()) return std::nullopt;
            return input.takeFirst();
        };
        commandLine.interactive = false;
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        prompts.clear();
        return commandLine.run(QStringList{"vostrel", "--data", dataPath()} + args,
                               [](const QString&) { return 0; });
    }
    QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    CommandLine commandLine{HeadlessCommands()};
    QString out, err;
    QStringList input, prompts;
};

} // namespace

TEST_F(BackupCommandsTest, BackupAndRestoreWithThePasswordFromStandardInput) {
    AppendLog(session, "备份以前");
    const QString backup = dir.filePath("b.xkg");
    EXPECT_EQ(run({"backup", backup}), 0);
    EXPECT_EQ(out, "保存完成!\n");
    EXPECT_EQ(run({"backup"}), 2);
    EXPECT_EQ(run({"restore", backup, "x"}), 2);

    AppendLog(session, "备份以后");
    const QByteArray live = bytes(dataPath());
    input = {"1"}; // the ordinary password
    EXPECT_EQ(run({"restore", backup}), 1);
    EXPECT_EQ(err, "权限不够，拒绝还原数据！\n");
    EXPECT_EQ(prompts, QStringList({"还原口令：*"}));
    EXPECT_EQ(run({"restore", backup}), 1); // no password at all
    input = {"8"};
    EXPECT_EQ(run({"restore", dataPath()}), 1);
    EXPECT_EQ(err, "所选文件就是正在使用的数据文件，不能用它还原。\n");
    // On a terminal the operator is asked first.
    commandLine.interactive = true;
    input = {"8", "否"};
    EXPECT_EQ(run({"restore", backup}), 1);
    EXPECT_EQ(prompts.last(), "该操作将丢失备份文件以后的所有数据,继续操作吗?（是/否）");
    input = {"否"};
    EXPECT_EQ(run({"backup", backup}), 1);
    EXPECT_EQ(err, "没有备份。\n");
    EXPECT_EQ(bytes(dataPath()), live);

    // Without a terminal nobody is asked: the password alone.
    commandLine.interactive = false;
    input = {"8"};
    EXPECT_EQ(run({"restore", backup}), 0);
    EXPECT_EQ(out, "恢复完成。\n");
    session.open(dataPath());
    EXPECT_EQ(log(), QStringList({"备份以前"}));
}

TEST_F(BackupCommandsTest, TheProgramReadsThePasswordFromAPipe) {
    const QString backup = dir.filePath("b.xkg");
    ASSERT_EQ(run({"backup", backup}), 0);
    AppendLog(session, "备份以后");
    session.close();
    QProcess p;
    p.start(VOSTREL_PROGRAM, {"--data", dataPath(), "restore", backup});
    p.write("8\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), "恢复完成。\n");
    session.open(dataPath());
    EXPECT_TRUE(log().isEmpty());
}
