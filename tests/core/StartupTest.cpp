#include "core/Startup.h"
#include "core/DataFile.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

using Kind = ScriptedMessageBoxes::Kind;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qlonglong storedVersion(const QString& path) {
    ScriptedMessageBoxes quiet;
    Session s(quiet);
    s.open(path);
    return s.query("select Ver_ID from T_Option where id=3").value(0, 0).toLongLong();
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
        printTable = s.catalog().hasTable("T_Print1");
        return true;
    }
    void expectVersionStop() {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, Kind::Warning);
        EXPECT_EQ(boxes.shown[0].text, NewVersionMessage());
        EXPECT_EQ(boxes.shown[0].title, "Vostrel");
        EXPECT_TRUE(boxes.shown[0].text.startsWith("您需要下载新版本！（"));
    }
    Options loaded;
    bool printTable = false;
};

TEST_F(StartupTest, ReadsTheOptionsRow) {
    session.execSql("update T_Option set MingCheng=Null, SSTab_Index=3, Show_PFJ=0, QX_TZfx=0 where id=3");
    ASSERT_TRUE(start(dataPath()));
    EXPECT_EQ(loaded.PassL, app::kDefaultUserPassword);
    EXPECT_EQ(loaded.PassH, app::kDefaultAdminPassword);
    EXPECT_EQ(loaded.MingCheng, ""); // Null: no business name
    EXPECT_EQ(loaded.SSTab_Index, 3);
    EXPECT_TRUE(loaded.Show_ZCB && loaded.Show_JHZJE && loaded.Show_LSJ && loaded.Show_DBJ);
    EXPECT_TRUE(loaded.QX_TZin0 && loaded.QX_TZin && loaded.QX_TZedit && loaded.QX_INfx);
    EXPECT_FALSE(loaded.Show_PFJ || loaded.QX_TZfx);
    EXPECT_EQ(loaded.Ver_ID, 2002);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartupTest, ColumnsThatCannotBeConvertedKeepTheirSettings) {
    session.execNative("update T_Option set SSTab_Index='x', Show_LSJ='maybe', Show_PFJ=NULL, "
                       "QX_TZfx='False', PassL=12, MingCheng='小店' where ID=3");
    ASSERT_TRUE(start(dataPath()));
    EXPECT_EQ(loaded.SSTab_Index, 0);
    EXPECT_FALSE(loaded.Show_LSJ);
    EXPECT_FALSE(loaded.Show_PFJ);
    EXPECT_FALSE(loaded.QX_TZfx);
    EXPECT_TRUE(loaded.Show_DBJ); // the columns after a bad one are still read
    EXPECT_EQ(loaded.PassL, "12");
    EXPECT_EQ(loaded.MingCheng, "小店");
    // A start tab the main window does not have falls back to the first.
    for (const char* tab : {"5", "-1", "70000"}) {
        session.execNative(QString("update T_Option set SSTab_Index=%1 where ID=3").arg(tab));
        ASSERT_TRUE(start(dataPath()));
        EXPECT_EQ(loaded.SSTab_Index, 0) << tab;
    }
}

TEST_F(StartupTest, Version2000ClimbsToTheCurrentOneInOneStart) {
    const QString old = dir.filePath("old.mdb");
    CreateDataFile(old, 2000);
    ASSERT_TRUE(start(old));
    EXPECT_EQ(loaded.Ver_ID, 2002);
    EXPECT_TRUE(printTable);
    EXPECT_EQ(storedVersion(old), 2002);
    {
        // The staging table numbers its rows like one made for a new file.
        Session s(boxes);
        s.open(old);
        EXPECT_EQ(s.catalog().columnType("T_Print1", "TB6"), jet::JetType::Text);
        s.addRow("T_Print1", {{"XH", "1"}});
        s.execSql("delete from T_Print1");
        s.addRow("T_Print1", {{"XH", "2"}});
        EXPECT_EQ(s.query("select ID from T_Print1").value(0, 0).toLongLong(), 2);
    }
    const QByteArray upgraded = fileBytes(old);
    ASSERT_TRUE(start(old)); // the next start has nothing to do
    EXPECT_EQ(fileBytes(old), upgraded);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartupTest, AFailedUpgradeStepStopsAndTheNextStartCarriesOn) {
    const QString old = dir.filePath("old.mdb");
    CreateDataFile(old, 2000);
    {
        Session s(boxes);
        s.open(old);
        s.execNative("CREATE TABLE T_Print1 (ID INTEGER PRIMARY KEY AUTOINCREMENT, XH TEXT)");
    }
    EXPECT_FALSE(start(old));
    EXPECT_EQ(loaded.Ver_ID, 2000);
    expectVersionStop();
    EXPECT_EQ(storedVersion(old), 2001);
    boxes.clear();
    ASSERT_TRUE(start(old));
    EXPECT_EQ(storedVersion(old), 2002);
}

TEST_F(StartupTest, ANewerOrUnreadableVersionStopsWithoutChangingAnything) {
    const QString newer = dir.filePath("newer.mdb");
    CreateDataFile(newer, 2003);
    const QByteArray before = fileBytes(newer);
    EXPECT_FALSE(start(newer));
    expectVersionStop();
    EXPECT_EQ(fileBytes(newer), before);

    // Options that cannot be read at all leave the version at 0.
    boxes.clear();
    session.execNative("DROP TABLE T_Option; CREATE TABLE T_Option (X INTEGER)");
    session.close();
    EXPECT_FALSE(start(dataPath()));
    EXPECT_EQ(loaded.Ver_ID, 0);
    expectVersionStop();
}

TEST_F(StartupTest, MissingOptionsRowIsADamagedFile) {
    session.execSql("delete from T_Option where id=3");
    EXPECT_FALSE(start(dataPath()));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, Kind::Critical);
    EXPECT_EQ(boxes.shown[0].text, "数据文件遭到破坏，程序不能继续运行!");
}

// The whole start-up, as main runs it.
class RunStartupTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        session.close();
    }
    int run(const QString& path) {
        Session s(boxes);
        const int status = RunStartup(s, path, [this](Session& logged) {
            ++mainWindows;
            admin = logged.admin;
            auto* w = new QWidget;
            QTimer::singleShot(0, w, &QWidget::close); // the operator closes it at once
            return w;
        });
        EXPECT_EQ(s.statusText == "Go", mainWindows == 1);
        return status;
    }
    void expectRefusal(const QString& path, const QString& message) {
        boxes.clear();
        EXPECT_NE(run(path), 0) << path.toStdString();
        ASSERT_EQ(boxes.shown.size(), 1u) << path.toStdString();
        EXPECT_EQ(boxes.shown[0].kind, Kind::Critical);
        EXPECT_EQ(boxes.shown[0].text, message);
        EXPECT_EQ(boxes.shown[0].title, "Vostrel");
    }
    // Types into the login dialog once it shows.
    void typeAtLogin(const QString& password, const char* button) {
        QTimer::singleShot(0, [=] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>("Text1")->setText(password);
            dialog->findChild<QPushButton*>(button)->click();
        });
    }
    int mainWindows = 0;
    bool admin = false;
};

TEST_F(RunStartupTest, UnusableDataFilesAreRefused) {
    const QString error = "数据文件出现错误，程序不能继续运行!";
    expectRefusal(dir.filePath("missing.mdb"), error);

    QFile junk(dir.filePath("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    expectRefusal(junk.fileName(), error);

    const QString tableless = dir.filePath("tableless.mdb");
    CreateDataFile(tableless);
    {
        Session s(boxes);
        s.open(tableless);
        s.execNative("DROP TABLE T_txt");
    }
    expectRefusal(tableless, error);

    const QString noRow = dir.filePath("norow.mdb");
    CreateDataFile(noRow);
    {
        Session s(boxes);
        s.open(noRow);
        s.execSql("delete from T_Option where id=3");
    }
    expectRefusal(noRow, "数据文件遭到破坏，程序不能继续运行!");
    EXPECT_EQ(mainWindows, 0);
}

TEST_F(RunStartupTest, AReadOnlyDataFileIsRefused) {
    ASSERT_EQ(::chmod(QFile::encodeName(dataPath()).constData(), 0400), 0);
    if (::access(QFile::encodeName(dataPath()).constData(), W_OK) == 0)
        GTEST_SKIP() << "this user may write read-only files";
    expectRefusal(dataPath(), "数据文件出现错误，程序不能继续运行!");
}

TEST_F(RunStartupTest, TheAdministratorReachesTheMainWindow) {
    typeAtLogin(app::kDefaultAdminPassword, "cmdS(1)");
    EXPECT_EQ(run(dataPath()), 0);
    EXPECT_EQ(mainWindows, 1);
    EXPECT_TRUE(admin);
    session.open(dataPath());
    EXPECT_EQ(scalar("select cc from T_txt").toString(), "管理员登录成功");
}

TEST_F(RunStartupTest, GivingUpEndsWithoutAWindow) {
    typeAtLogin("", "cmdS(0)");
    EXPECT_EQ(run(dataPath()), 0);
    EXPECT_EQ(mainWindows, 0);
    EXPECT_TRUE(boxes.shown.empty());
}
