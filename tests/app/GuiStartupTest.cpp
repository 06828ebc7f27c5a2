#include "app/GuiStartup.h"
#include "core/DataFile.h"
#include "core/DataFileLock.h"
#include "support/TestFixture.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using Kind = ScriptedMessageBoxes::Kind;

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
            if (duringRun) duringRun(logged);
            QTimer::singleShot(0, w, &QWidget::close); // the operator closes it at once
            return w;
        });
        EXPECT_EQ(s.statusText == "Go", mainWindows == 1);
        return status;
    }
    void expectRefusal(const QString& path, const QString& message = "数据文件出现错误，程序不能继续运行!") {
        EXPECT_NE(run(path), 0) << path.toStdString();
        ASSERT_EQ(boxes.shown.size(), 1u);
        expectBox(boxes.shown[0], Kind::Critical, message, "Vostrel");
        boxes.clear();
        EXPECT_EQ(mainWindows, 0);
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
    std::function<void(Session&)> duringRun;
};

TEST_F(RunStartupTest, UnusableDataFilesAreRefused) {
    expectRefusal(dir.filePath("missing.mdb"));
    writeFile(dir.filePath("junk.mdb"));
    expectRefusal(dir.filePath("junk.mdb"));
    const QString damaged = dir.filePath("damaged.mdb");
    CreateDataFile(damaged);
    execOn(damaged, "DROP TABLE T_txt");
    expectRefusal(damaged);

    // One start per data file; a killed program's lock is taken over: KilledMidWriteTest.
    const QByteArray before = fileBytes(dataPath());
    {
        DataFileLock first(dataPath()); // a window already open on it
        ASSERT_EQ(first.take(), DataFileLock::Outcome::Taken);
        expectRefusal(dataPath(), "数据文件正在被另一个Vostrel使用，程序不能继续运行!");
    }
    EXPECT_EQ(fileBytes(dataPath()), before); // no log line, no upgrade
    EXPECT_FALSE(QFile::exists(dir.filePath("backups")));
}

TEST_F(RunStartupTest, AReadOnlyDataFileOrFolderIsRefused) {
    const QByteArray file = QFile::encodeName(dataPath()), folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(file.constData(), 0400), 0);
    if (::access(file.constData(), W_OK) == 0) GTEST_SKIP() << "this user may write read-only files";
    expectRefusal(dataPath());
    ::chmod(file.constData(), 0600);
    ASSERT_EQ(::chmod(folder.constData(), 0500), 0);
    expectRefusal(dataPath(), "数据文件所在的文件夹不能写入，程序不能继续运行!\n" + dataPath() + ".lock");
    ::chmod(folder.constData(), 0700);
}

TEST_F(RunStartupTest, TheAdministratorReachesTheMainWindowAndGivingUpEnds) {
    typeAtLogin("", "cmdS(0)");
    EXPECT_EQ(run(dataPath()), 0);
    EXPECT_EQ(mainWindows, 0);
    typeAtLogin("8", "cmdS(1)");
    EXPECT_EQ(run(dataPath()), 0);
    EXPECT_TRUE(mainWindows == 1 && admin);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(QFile::exists(dataPath() + ".lock"));
    session.open(dataPath());
    EXPECT_EQ(scalar("select cc from T_txt").toString(), "管理员登录成功");
    // A run that changed something leaves the day's safety copy beside the data file.
    const QString copy = dir.filePath("backups/DBvost-" + QDate::currentDate().toString("yyyyMMdd") + ".xkg");
    EXPECT_FALSE(QFile::exists(copy));
    duringRun = [](Session& s) { AppendLog(s, "改动"); };
    mainWindows = 0;
    typeAtLogin("1", "cmdS(1)");
    EXPECT_EQ(run(dataPath()), 0);
    EXPECT_TRUE(QFile::exists(copy));
}

// Qt's standard buttons read in Chinese once the program's start-up routine has loaded its texts.
TEST(QtChineseTextsTest, AYesNoBoxReadsInChinese) {
    QTranslator texts;
    ASSERT_TRUE(InstallQtChineseTexts(texts));
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "是(Y)");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&'), "否(N)");
    QCoreApplication::removeTranslator(&texts);
}
