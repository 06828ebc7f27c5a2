#include "core/Startup.h"
#include "core/DataFile.h"
#include "support/TestFixture.h"

#include <QFile>

using Kind = ScriptedMessageBoxes::Kind;

namespace {

// The stored version and the statements that make the file's tables and indexes.
QString schemaOf(const QString& path) {
    ScriptedMessageBoxes quiet;
    Session s(quiet);
    s.open(path);
    return nativeRows(s, "select Ver_ID from T_Option where id=3") + '\n' +
           nativeRows(s, "select sql from sqlite_master where sql is not null order by name");
}

} // namespace

class StartupTest : public LedgerFixture {
protected:
    // One start of the program on the data file, up to the version check.
    bool start(const QString& path) {
        Session s(boxes);
        s.open(path);
        try {
            LoadOptions(s);
        } catch (const ProgramStop& stop) {
            EXPECT_NE(stop.exitCode, 0);
            loaded = s.options;
            return false;
        }
        loaded = s.options;
        return true;
    }
    void expectOneBox(Kind kind, const QString& text) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        expectBox(boxes.shown[0], kind, text, "Vostrel");
        boxes.clear();
    }
    void expectVersionStop() {
        expectOneBox(Kind::Warning,
                     "您需要下载新版本！（新版本随源代码发布在本项目代码仓库的 Releases 页面）");
    }
    QString oldFile(long version) {
        const QString path = dir.filePath("old.mdb");
        CreateDataFile(path, version);
        return path;
    }
    Options loaded;
};

TEST_F(StartupTest, ReadsTheOptionsRowAndKeepsWhatCannotBeConverted) {
    session.execSql("update T_Option set MingCheng=Null, SSTab_Index=3, Show_PFJ=0, QX_TZfx=0 where id=3");
    ASSERT_TRUE(start(dataPath()));
    EXPECT_EQ(loaded.PassL + "|" + loaded.PassH + "|" + loaded.MingCheng, "1|8|"); // Null: no business name
    EXPECT_EQ(loaded.SSTab_Index, 3);
    EXPECT_TRUE(loaded.Show_ZCB && loaded.Show_JHZJE && loaded.Show_LSJ && loaded.Show_DBJ &&
                loaded.QX_TZin0 && loaded.QX_TZin && loaded.QX_TZedit && loaded.QX_INfx);
    EXPECT_FALSE(loaded.Show_PFJ || loaded.QX_TZfx);
    EXPECT_EQ(loaded.Ver_ID, 2002);

    session.execNative("update T_Option set SSTab_Index='x', Show_LSJ='maybe', Show_PFJ=NULL, "
                       "QX_TZfx='False', PassL=12, MingCheng='小店' where ID=3");
    ASSERT_TRUE(start(dataPath()));
    EXPECT_EQ(loaded.SSTab_Index, 0);
    EXPECT_FALSE(loaded.Show_LSJ || loaded.Show_PFJ || loaded.QX_TZfx);
    EXPECT_TRUE(loaded.Show_DBJ); // the columns after a bad one are still read
    EXPECT_EQ(loaded.PassL + loaded.MingCheng, "12小店");
    // A start tab the main window does not have falls back to the first.
    for (const char* tab : {"5", "-1", "70000"}) {
        session.execNative(QString("update T_Option set SSTab_Index=%1 where ID=3").arg(tab));
        ASSERT_TRUE(start(dataPath()));
        EXPECT_EQ(loaded.SSTab_Index, 0) << tab;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartupTest, Version2000ClimbsToTheCurrentOneInOneStart) {
    const QString old = oldFile(2000);
    ASSERT_TRUE(start(old));
    EXPECT_EQ(loaded.Ver_ID, 2002);
    EXPECT_EQ(schemaOf(old), schemaOf(dataPath())); // the same as a new data file's
    const QByteArray upgraded = fileBytes(old);
    ASSERT_TRUE(start(old)); // the next start has nothing to do
    EXPECT_EQ(fileBytes(old), upgraded);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartupTest, AFailedUpgradeStepStopsAndTheNextStartCarriesOn) {
    const QString old = oldFile(2000);
    execOn(old, "CREATE TABLE T_Print1 (ID INTEGER PRIMARY KEY AUTOINCREMENT, XH TEXT)");
    EXPECT_FALSE(start(old));
    EXPECT_EQ(loaded.Ver_ID, 2000);
    expectVersionStop();
    EXPECT_TRUE(schemaOf(old).startsWith("2001\n"));
    ASSERT_TRUE(start(old));
    EXPECT_TRUE(schemaOf(old).startsWith("2002\n"));
}

TEST_F(StartupTest, ANewerUnreadableOrMissingVersionStopsWithoutChangingAnything) {
    const QString newer = oldFile(2002);
    execOn(newer, "update T_Option set Ver_ID=2003 where ID=3");
    EXPECT_THROW(CreateDataFile(dir.filePath("2003.mdb"), 2003), DbError); // no such tables to make
    EXPECT_FALSE(QFile::exists(dir.filePath("2003.mdb")));
    const QByteArray before = fileBytes(newer);
    EXPECT_FALSE(start(newer));
    expectVersionStop();
    EXPECT_EQ(fileBytes(newer), before);

    session.execSql("delete from T_Option where id=3");
    EXPECT_FALSE(start(dataPath()));
    expectOneBox(Kind::Critical, "数据文件遭到破坏，程序不能继续运行!");

    // Options that cannot be read at all leave the version at 0.
    session.execNative("DROP TABLE T_Option; CREATE TABLE T_Option (X INTEGER)");
    session.close();
    EXPECT_FALSE(start(dataPath()));
    EXPECT_EQ(loaded.Ver_ID, 0);
    expectVersionStop();
}
