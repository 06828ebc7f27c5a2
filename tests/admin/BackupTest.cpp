// Backups and restores of the data file: complete copies, checked restores, and failures
// that leave the data file byte for byte as it was with its connection open.
#include "admin/DailySafetyCopy.h"
#include "admin/DataFileCopies.h"
#include "core/DataFile.h"
#include "core/Startup.h"
#include "support/TestFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

class BackupTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        LoadOptions(session);
        session.execNative(
            "INSERT INTO T_TZ (MC, JC, ZKC, ZCB) VALUES ('螺丝钉', 'LSD', 2, 3); INSERT INTO T_IO "
            "(TZID, RQ, SL, ZJE) VALUES (-1, '2009-01-02', 2, 3); INSERT INTO T_KH (KHMC) VALUES "
            "('张三'); INSERT INTO T_GYS (GYSMC) VALUES ('五金厂'); INSERT INTO T_Key (cc) VALUES "
            "('螺丝'); UPDATE T_Option SET PassL='u', MingCheng='小店' WHERE ID=3");
        AppendLog(session, "管理员登录成功");
    }
    QString everything() {
        QString all;
        for (const char* t :
             {"T_TZ", "T_IO", "T_KH", "T_KH_XQ", "T_GYS", "T_Key", "T_Print1", "T_Option", "T_txt"})
            all += QString(t) + ":" + rowsText(QString("select * from ") + t) + "\n";
        return all;
    }
    // Temporary files left behind in the data file's folder.
    QStringList leftovers() const { return QDir(dir.path()).entryList({".*"}, QDir::Files | QDir::Hidden); }
    // The connection still reads and writes.
    void expectUsable() {
        EXPECT_NO_THROW(AppendLog(session, "还能写"));
        EXPECT_EQ(log().last(), "还能写");
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    DataFileCopies copies{session};
};

} // namespace

TEST_F(BackupTest, BackupThenRestoreBringsBackEveryTable) {
    const QString before = everything();
    const QString backup = path("20090109");
    copies.backup(backup);
    EXPECT_EQ(QFileInfo(backup).permissions() & 0x0077, 0); // the owner's only, as the data file

    session.execSql("delete from T_TZ");
    session.execSql("update T_Option set PassH='新', SSTab_Index=3 where id=3");
    AppendLog(session, "以后的改动");
    writeFile(path("DBvost.mdb.bak"), "an older safety copy");

    EXPECT_EQ(copies.refusal(backup), std::nullopt);
    copies.restore(backup);
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    // The data file as it was before the restore is kept beside it, a sound copy in its own right.
    ScriptedMessageBoxes otherBoxes;
    Session previous(otherBoxes);
    previous.open(path("DBvost.mdb.bak"));
    EXPECT_EQ(previous.query("select count(*) from T_TZ").value(0, 0).toInt(), 0);
    EXPECT_EQ(previous.query("select PassH from T_Option").value(0, 0).toString(), "新");
    expectUsable();

    // An older version's file is restored as it is and upgraded at the next start.
    CreateDataFile(path("2000.xkg"), 2000);
    copies.restore(path("2000.xkg"));
    session.close();
    Session next(otherBoxes);
    ASSERT_EQ(StartSession(next, dataPath()), 0);
    EXPECT_EQ(next.options.Ver_ID, 2002);
}

TEST_F(BackupTest, ABackupOrRestoreFailingHalfwayLeavesTargetAndDataFileAsTheyWere) {
    writeFile(path("old.xkg"), "yesterday's backup");
    copies.backup(path("old.xkg"));
    EXPECT_EQ(copies.refusal(path("old.xkg")), std::nullopt);

    // A folder in the target's place: the copy is written, the rename fails, nothing is left over.
    QDir(dir.path()).mkpath("busy.xkg/inside");
    EXPECT_THROW(copies.backup(path("busy.xkg")), DbError);
    EXPECT_TRUE(QFileInfo(path("busy.xkg/inside")).isDir());
    EXPECT_THROW(copies.backup(path("no such folder/x.xkg")), DbError);
    try {
        copies.backup(dataPath());
        ADD_FAILURE() << "the data file itself";
    } catch (const DbError& e) {
        EXPECT_EQ(e.text, "不能把备份写在正在使用的数据文件上。");
    }
    // The safety copy cannot take its name: the incoming copy is written, then the restore fails.
    QDir(dir.path()).mkpath("DBvost.mdb.bak/inside");
    const QByteArray live = fileBytes(dataPath());
    EXPECT_THROW(copies.restore(path("old.xkg")), DbError);
    EXPECT_EQ(fileBytes(dataPath()), live);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    expectUsable();
}

TEST_F(BackupTest, ARestoreRefusesEveryFileItCannotUseAndLeavesTheDataFileAlone) {
    copies.backup(path("good.xkg"));
    const QString notOurs = "所选文件不是本程序的数据文件，不能用它还原。";
    writeFile(path("empty.xkg"), "");
    writeFile(path("junk.xkg"));
    writeFile(path("truncated.xkg"),
              fileBytes(path("good.xkg")).left(fileBytes(path("good.xkg")).size() / 2));
    const std::pair<const char*, const char*> spoilt[] = {{"newer.xkg", "UPDATE T_Option SET Ver_ID=2003"},
                                                          {"nooptions.xkg", "DELETE FROM T_Option"},
                                                          {"noprint.xkg", "DROP TABLE T_Print1"}};
    for (const auto& [name, change] : spoilt) {
        CreateDataFile(path(name));
        execOn(path(name), change);
    }
    sqlite3* foreign = nullptr; // another program's database: SQLite, but none of our tables
    sqlite3_open(path("foreign.xkg").toUtf8().constData(), &foreign);
    sqlite3_exec(foreign, "CREATE TABLE notes (x TEXT); INSERT INTO notes VALUES ('hello');", nullptr,
                 nullptr, nullptr);
    sqlite3_close(foreign);
    const QByteArray live = fileBytes(dataPath());
    const std::pair<const char*, QString> cases[] = {
        {"empty.xkg", notOurs},
        {"junk.xkg", notOurs},
        {"foreign.xkg", notOurs},
        {"truncated.xkg", "所选文件已经损坏，不能用它还原。"},
        {"newer.xkg", "所选文件来自更新版本的程序（数据版本 2003），本程序不能使用它。"},
        {"nooptions.xkg", "所选文件缺少选项记录，已经损坏，不能用它还原。"},
        {"noprint.xkg", "所选文件缺少数据表 T_Print1，不能用它还原。"},
        {"missing.xkg", "所选文件不存在。"},
        {"DBvost.mdb", "所选文件就是正在使用的数据文件，不能用它还原。"},
    };
    for (const auto& [name, why] : cases) {
        EXPECT_EQ(copies.refusal(path(name)).value_or("accepted"), why) << name;
        try {
            copies.restore(path(name));
            ADD_FAILURE() << name;
        } catch (const DbError& e) {
            EXPECT_EQ(e.text, why);
        }
        EXPECT_EQ(fileBytes(dataPath()), live) << name;
    }
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    expectUsable();
}

TEST_F(BackupTest, DailyCopiesAfterChangesTheNewestFourteenKept) {
    QDir(dir.path()).mkpath("backups");
    writeFile(path("backups/说明.txt"), "not a copy");
    for (int day = 1; day <= 16; ++day)
        copies.keepDailyCopy(QDate(2009, 1, day));
    AppendLog(session, "当天晚些时候");
    copies.keepDailyCopy(QDate(2009, 1, 16)); // the day's copy replaced
    QStringList kept = QDir(path("backups")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(kept.size(), 15);
    EXPECT_EQ(kept.first(), "DBvost-20090103.xkg");
    EXPECT_EQ(kept.last(), "说明.txt");
    EXPECT_EQ(copies.refusal(path("backups/DBvost-20090116.xkg")), std::nullopt);

    // A run without changes makes no copy (RunStartupTest), nor does one that initialised the data.
    QDir(path("backups")).removeRecursively();
    DailySafetyCopy copy(session);
    AppendLog(session, "改动");
    session.statusText = "初始化完成";
    copy.atExit(QDate(2009, 2, 1));
    EXPECT_FALSE(QFileInfo::exists(path("backups")));
    session.statusText = "Go";
    copy.atExit(QDate(2009, 2, 1));
    EXPECT_TRUE(QFileInfo::exists(path("backups/DBvost-20090201.xkg")));
    // A copy that cannot be made is only logged.
    QDir(path("backups")).removeRecursively();
    writeFile(path("backups"), "a file in the folder's place");
    copy.atExit(QDate(2009, 2, 2));
    EXPECT_TRUE(log().last().startsWith("自动备份失败：")) << log().last().toStdString();
}
