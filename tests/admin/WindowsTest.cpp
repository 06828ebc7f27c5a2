// The administration windows: what only a window can get wrong (what they show and what a
// click does to them).
#include "admin/DataFileCopies.h"
#include "admin/frmBakup.h"
#include "admin/frmHelp.h"
#include "admin/frmINIT.h"
#include "admin/frmOption.h"
#include "admin/frmShowTXT.h"
#include "core/Startup.h"
#include "support/TestFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>

using Kind = ScriptedMessageBoxes::Kind;

namespace {

class AdminWindowsTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        LoadOptions(session);
        session.admin = true;
    }
};

} // namespace

TEST_F(AdminWindowsTest, SettingsWindowShowsTheOptionsAndWritesBackTheCleanedPassword) {
    session.options.SSTab_Index = 2;
    session.options.Show_LSJ = false;
    session.options.QX_TZfx = false;
    frmOption w(session);
    EXPECT_TRUE(child<QRadioButton>(w, "Option1(2)")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(w, "CheckShow(2)")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(w, "CheckShow(0)")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(w, "CheckQX(3)")->isChecked());
    for (const char* name : {"Text1", "Text2", "Text3"})
        EXPECT_TRUE(child<QLineEdit>(w, name)->text().isEmpty()); // never filled from the settings

    child<QRadioButton>(w, "Option1(4)")->setChecked(true);
    click(w, 1);
    child<QCheckBox>(w, "CheckQX(0)")->setChecked(false);
    click(w, 7);
    child<QLineEdit>(w, "Text1")->setText("8");
    child<QLineEdit>(w, "Text3")->setText(" 'x' ");
    click(w, 4);
    EXPECT_EQ(child<QLineEdit>(w, "Text3")->text(), "x");
    EXPECT_EQ(rowsText("select SSTab_Index, QX_TZin0, QX_TZfx, PassL from T_Option"), "4|False|False|x");
}

TEST_F(AdminWindowsTest, InitialisationWindowClosesOnlyWhenCompleted) {
    frmINIT w(session);
    w.show();
    child<QLineEdit>(w, "Text1")->setText("8");
    click(w, 1); // locked
    EXPECT_TRUE(w.isVisible());
    session.initUnlocked = true;
    boxes.answers = {false, true};
    click(w, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(AdminWindowsTest, LogViewerListsByIdentifierAndClears) {
    addRowOf(session, "T_txt", "RQ,cc", {"2009-1-9 8:05:03", "晚的在前"});
    addRowOf(session, "T_txt", "RQ,cc", {"2009-1-2", "早的在后"});
    frmShowTXT w(session);
    w.show();
    const QAbstractItemModel* m = child<QTableView>(w, "ListViewL")->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->data(m->index(0, 0)).toString() + "|" + m->data(m->index(0, 1)).toString() + "|" +
                  m->data(m->index(0, 2)).toString(),
              "1|2009-1-9 8:05:03|晚的在前");

    click(w, 1);
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_EQ(log(), QStringList({"操作日志已清空"}));
}

TEST_F(AdminWindowsTest, HelpShowsTheManual) {
    frmHelp help;
    EXPECT_TRUE(
        child<QPlainTextEdit>(help, "txtHelp")->toPlainText().startsWith("Vostrel 进销存台账 操作说明\n"));
}

// A backup asks for a name and about a file that exists; a restore checks the password before
// any dialog and the file before the question.
TEST_F(AdminWindowsTest, BackupAndRestoreWindow) {
    frmBakup w(session);
    w.show();
    click(w, 2); // cancelled: nothing said
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].caption, "请选择目标驱动器或路径。");
    EXPECT_EQ(files.asked[0].proposed, QDate::currentDate().toString("yyyyMMdd"));
    EXPECT_TRUE(boxes.shown.empty());

    const QString taken = dir.filePath("taken.xkg"), fresh = dir.filePath("fresh");
    writeFile(taken, {});
    files.answers = {taken, fresh};
    boxes.answers = {false}; // not over the file that exists: the dialog comes again
    click(w, 2);
    ASSERT_EQ(boxes.shown.size(), 2u);
    expectBox(boxes.shown[0], Kind::Question, "  该文件已存在,覆盖原有文件吗?", "Vostrel");
    expectBox(boxes.shown[1], Kind::Information, "保存完成!", "数据备份");
    EXPECT_EQ(QFileInfo(taken).size(), 0);
    EXPECT_GT(QFileInfo(fresh).size(), 0);

    boxes.clear();
    QDir(dir.path()).mkpath("folder.xkg/inside");
    files.answers = {dir.filePath("folder.xkg")};
    click(w, 2); // Yes to the question, then the copy cannot take the folder's place
    expectBox(boxes.shown.back(), Kind::Critical,
              "出错了!\n无法写入 " + dir.filePath("folder.xkg") + "：目标是一个文件夹", "数据备份");

    DataFileCopies(session).backup(dir.filePath("good.xkg"));
    AppendLog(session, "备份以后");
    writeFile(dir.filePath("empty.xkg"), {});
    boxes.clear();
    files.asked.clear();
    child<QLineEdit>(w, "Text1")->setText("1"); // the ordinary password
    click(w, 3);
    EXPECT_TRUE(files.asked.empty());
    expectBox(boxes.shown.at(0), Kind::Warning, " 权限不够，拒绝还原数据！", "Vostrel");

    boxes.clear();
    child<QLineEdit>(w, "Text1")->setText("8");
    files.answers = {dir.filePath("empty.xkg"), dir.filePath("good.xkg")};
    boxes.answers = {false};
    click(w, 3); // refused at once
    click(w, 3); // No: nothing happens
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[1].caption, "请选择您所备份的数据文件");
    ASSERT_EQ(boxes.shown.size(), 2u);
    expectBox(boxes.shown[0], Kind::Warning, "所选文件不是本程序的数据文件，不能用它还原。", "数据恢复");
    expectBox(boxes.shown[1], Kind::Question, "  该操作将丢失备份文件以后的所有数据,继续操作吗?", "Vostrel");
    EXPECT_EQ(log().last(), "备份以后");

    boxes.clear();
    files.answers = {dir.filePath("good.xkg")};
    click(w, 3);
    expectBox(boxes.shown.back(), Kind::Information, "恢复完成,请重新运行程序。", "数据恢复");
    EXPECT_EQ(session.statusText, "恢复完成");
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(log().contains("备份以后")); // the data as backed up
}
