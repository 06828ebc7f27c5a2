// Settings and initialisation as the administrator uses them: what is stored, what the
// operator is told and logged, and that a refused change leaves everything as it was.
#include "admin/DataInitialisation.h"
#include "admin/SettingsBook.h"
#include "core/Startup.h"
#include "support/TestFixture.h"

using Kind = ScriptedMessageBoxes::Kind;

namespace {

class SettingsTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        LoadOptions(session);
    }
    QString options() {
        return rowsText(
            "select PassL, PassH, SSTab_Index, Show_ZCB, Show_JHZJE, Show_LSJ, Show_PFJ, Show_DBJ, "
            "QX_TZin0, QX_TZin, QX_TZedit, QX_TZfx, QX_INfx, MingCheng, Ver_ID from T_Option");
    }
    SettingsBook book{session};
};

} // namespace

TEST_F(SettingsTest, SwitchesAndStartTabAreStoredWithTheirLogLineAndBox) {
    book.saveStartTab(3);
    book.saveVisibility({false, true, false, true, false});
    book.savePermissions({true, false, false, true, false});
    EXPECT_EQ(options(), "1|8|3|False|True|False|True|False|True|False|False|True|False||2002");
    book.saveStartTab(-1); // no option chosen: the start tab stays
    EXPECT_EQ(scalar("select SSTab_Index from T_Option").toInt(), 3);
    const Options& o = session.options;
    EXPECT_EQ(o.SSTab_Index, 3);
    EXPECT_TRUE(!o.Show_ZCB && o.Show_JHZJE && !o.Show_LSJ && o.Show_PFJ && !o.Show_DBJ);
    EXPECT_TRUE(o.QX_TZin0 && !o.QX_TZin && !o.QX_TZedit && o.QX_TZfx && !o.QX_INfx);
    EXPECT_EQ(log(), QStringList({"设置启动默认显示完成", "修改隐含敏感数据项目完成", "修改操作权限成功",
                                  "设置启动默认显示完成"}));
    ASSERT_EQ(boxes.shown.size(), 4u);
    expectBox(boxes.shown[0], Kind::Information, "  设 置 启 动 默 认 显 示 完 成 ！", "Vostrel");
    expectBox(boxes.shown[1], Kind::Information, "  修 改 隐 含 敏 感 数 据 项 目 完 成 ！", "Vostrel");
    expectBox(boxes.shown[2], Kind::Information, "  修 改 操 作 权 限 成 功  ！", "Vostrel");
}

TEST_F(SettingsTest, PasswordsNeedTheAdministratorPasswordAndAreCleaned) {
    QString typed = " a'b'c ";
    EXPECT_FALSE(book.changeAdminPassword("8 ", typed)); // compared exactly
    EXPECT_EQ(typed, "abc");                             // cleaned even when refused
    typed = "x";
    EXPECT_FALSE(book.changeUserPassword("1", typed)); // the ordinary password is never asked for
    typed = " '' ";
    EXPECT_FALSE(book.changeAdminPassword("8", typed));
    EXPECT_EQ(typed, "");
    typed = "'";
    EXPECT_FALSE(book.changeUserPassword("8", typed));
    EXPECT_EQ(options().left(4), "1|8|");
    ASSERT_EQ(boxes.shown.size(), 4u);
    expectBox(boxes.shown[0], Kind::Critical, "  当前管理员口令错误 ！", "Vostrel");
    expectBox(boxes.shown[1], Kind::Critical, "  当前管理员口令错误 ！", "Vostrel");
    expectBox(boxes.shown[2], Kind::Warning, "  管理员口令不允许为空！   ", "Vostrel");
    expectBox(boxes.shown[3], Kind::Warning, "  口令不允许为空！   ", "Vostrel");

    boxes.clear();
    typed = " Abc ";
    EXPECT_TRUE(book.changeAdminPassword("8", typed));
    typed = "u'1";
    EXPECT_TRUE(book.changeUserPassword("Abc", typed));
    EXPECT_EQ(options().left(7), "u1|Abc|");
    EXPECT_EQ(session.options.PassL + "|" + session.options.PassH, "u1|Abc");
    typed = "z";
    EXPECT_FALSE(book.changeAdminPassword("abc", typed)); // letter case counts
    expectBox(boxes.shown[0], Kind::Information, "  管理员口令已修改,请记好新口令(Abc)    ", "Vostrel");
    expectBox(boxes.shown[1], Kind::Information, "  普通口令已修改,请记好新口令(u1)    ", "Vostrel");
    EXPECT_EQ(log(), QStringList({"修改管理员口令出错", "修改普通口令出错", "管理员口令已修改",
                                  "普通口令已修改", "修改管理员口令出错"}));
}

TEST_F(SettingsTest, ClearingKeywordsAndLogAndTheUnlock) {
    for (const char* key : {"螺丝", "M6"})
        session.addRow("T_Key", {{"cc", key}});
    book.clearKeywords();
    EXPECT_EQ(rowsText("select cc from T_Key"), "1");
    book.unlockInitialisation();
    EXPECT_TRUE(session.initUnlocked);
    book.clearLog();
    EXPECT_EQ(log(), QStringList({"操作日志已清空"}));
    ASSERT_EQ(boxes.shown.size(), 3u);
    expectBox(boxes.shown[0], Kind::Information, "  清空关键字搜索记忆项完成，在下次运行程序时见效！",
              "Vostrel");
    expectBox(boxes.shown[1], Kind::Information, "  初始化功能已打开 ！", "Vostrel");
    expectBox(boxes.shown[2], Kind::Information, "  操作跟踪记录(操作日志)已清空！    ", "Vostrel");
}

// ---- initialisation ---------------------------------------------------------------------

namespace {

class InitialisationTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        session.execSql(
            "update T_Option set PassH='Ab', PassL='cd', SSTab_Index=4, Show_LSJ=False, QX_TZin=False, "
            "MingCheng='小店' where id=3");
        LoadOptions(session);
        session.execNative(
            "INSERT INTO T_GYS (GYSMC) VALUES ('五金厂'); INSERT INTO T_KH (KHMC) VALUES ('张三'); "
            "INSERT INTO T_KH_XQ (KHID, RQ, KHXQ, BJ) VALUES (1, '2009-01-02', '装修', 0); "
            "INSERT INTO T_TZ (MC, ZKC, ZCB) VALUES ('螺丝', 2, 3); INSERT INTO T_IO (TZID, RQ, "
            "SL, ZJE, JXID) VALUES (-1, '2009-01-02', 2, 3, 1); INSERT INTO T_Key (cc) VALUES "
            "('螺丝'); INSERT INTO T_Print1 (XH) VALUES ('1')");
        AppendLog(session, "登录成功");
        boxes.clear();
    }
    DataInitialisation init{session};
};

} // namespace

TEST_F(InitialisationTest, TheGuardsInTheirOrderAndTheUnlockUsedUp) {
    EXPECT_FALSE(init.attempt("Ab")); // locked: the password is not even looked at
    session.initUnlocked = true;
    EXPECT_FALSE(init.attempt("cd")); // the ordinary password is not enough
    EXPECT_FALSE(init.attempt("Ab")); // the wrong password used the unlock up
    session.initUnlocked = true;
    boxes.answers = {true}; // Yes to "cancel?"
    EXPECT_FALSE(init.attempt("Ab"));
    EXPECT_FALSE(session.initUnlocked);
    session.initUnlocked = true;
    boxes.answers = {false, false}; // No to "cancel?", No to "continue?"
    EXPECT_FALSE(init.attempt("Ab"));
    EXPECT_EQ(scalar("select count(*) from T_TZ").toInt(), 1);
    ASSERT_EQ(boxes.shown.size(), 6u);
    expectBox(boxes.shown[0], Kind::Warning, "初始化功能被锁定，必须先在设置选项中打开！", "Vostrel");
    expectBox(boxes.shown[1], Kind::Warning, " 口令错误，拒绝初始化！", "Vostrel");
    expectBox(boxes.shown[3], Kind::Question, "初始化所删除的数据不能恢复，取消本次操作吗 ？", "Vostrel");
    expectBox(boxes.shown[5], Kind::Question, "您正在删除本系统最珍贵的数据,确定继续吗? ", "Vostrel");
    EXPECT_EQ(log().mid(1), QStringList({"初始化失败：初始化功能被锁定", "初始化失败：口令错误",
                                         "初始化失败：初始化功能被锁定", "初始化被取消", "初始化被取消"}));
    EXPECT_NE(session.statusText, "初始化完成");
}

TEST_F(InitialisationTest, EmptiesTheBusinessDataAndResetsTheOptions) {
    session.initUnlocked = true;
    boxes.answers = {false, true};
    ASSERT_TRUE(init.attempt("Ab"));
    for (const char* t : {"T_TZ", "T_IO", "T_KH", "T_KH_XQ", "T_GYS", "T_Key"})
        EXPECT_EQ(scalar(QString("select count(*) from ") + t).toInt(), 0) << t;
    EXPECT_EQ(rowsText("select XH from T_Print1"), "1");
    EXPECT_EQ(options(), "1|8|0|True|True|True|True|True|True|True|True|True|True|小店|2002");
    EXPECT_EQ(log(), QStringList({"登录成功", "初始化完成"}));
    expectBox(boxes.shown.back(), Kind::Information, " 初始化完成，请重新运行系统。", "Vostrel");
    EXPECT_EQ(session.statusText, "初始化完成");
}
