#include "ui/frmKey.h"
#include "core/Startup.h"
#include "support/TestFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Kind = ScriptedMessageBoxes::Kind;

class frmKeyTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        LoadOptions(session);
    }
    // A new dialog, as each start of the program shows one.
    frmKey& dialog(bool fresh = false) {
        if (!dialog_ || fresh) {
            dialog_ = std::make_unique<frmKey>(session);
            dialog_->show();
        }
        return *dialog_;
    }
    QLineEdit* text1() { return dialog().findChild<QLineEdit*>("Text1"); }
    void attempt(const QString& password, bool fresh = false) {
        dialog(fresh);
        text1()->setText(password);
        dialog().findChild<QPushButton*>("cmdS(1)")->click();
    }
    void expectWrongPasswordBoxes(size_t count) {
        ASSERT_EQ(boxes.shown.size(), count);
        for (const auto& b : boxes.shown)
            EXPECT_TRUE(b.kind == Kind::Warning && b.text == "口 令 错 误 , 拒 绝 登 录 !" &&
                        b.title == "登录");
    }
    std::unique_ptr<frmKey> dialog_;
};

TEST_F(frmKeyTest, ShowsHintsAndAMaskedBox) {
    QTest::keyClicks(text1(), "12345678901234567890");
    EXPECT_EQ(text1()->text(), "1234567890123456");
    EXPECT_EQ(text1()->displayText(), QString(16, '*'));

    // A hint names a default password only while that password still opens the program.
    const auto hints = [&] {
        QStringList out;
        const frmKey& fresh = dialog(true);
        for (const char* name : {"Label3", "Label1"}) {
            const QLabel* hint = fresh.findChild<QLabel*>(name);
            out << (hint->isHidden() ? "hidden:" : "") + hint->text();
        }
        return out;
    };
    EXPECT_EQ(hints(), QStringList({"（管理员初始口令：8）", "（普通用户初始口令：1）"}));
    session.options.PassH = "88";
    EXPECT_EQ(hints(), QStringList({"hidden:", "（普通用户初始口令：1）"}));
    session.options.PassL = "x";
    EXPECT_EQ(hints(), QStringList({"hidden:", "hidden:"}));

    // Closing it ends the program; giving up by the button: RunStartupTest.
    QTest::keyClick(text1(), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(session.statusText, "End");
    EXPECT_TRUE(log().isEmpty() && boxes.shown.empty());
}

TEST_F(frmKeyTest, EachPasswordGivesItsRole) {
    attempt("8");
    EXPECT_TRUE(session.admin && session.loggedIn && session.statusText == "Go");
    EXPECT_EQ(dialog().result(), QDialog::Accepted);
    EXPECT_FALSE(dialog().isVisible());
    attempt("1", true);
    EXPECT_TRUE(!session.admin && session.loggedIn && session.statusText == "Go");

    // The same password for both roles: the administrator wins. An empty ordinary password
    // admits an empty input.
    session.options.PassL = session.options.PassH = "5";
    attempt("5", true);
    EXPECT_TRUE(session.admin);
    session.options.PassL = "";
    attempt("", true);
    EXPECT_TRUE(!session.admin && session.loggedIn);
    EXPECT_EQ(log(),
              QStringList({"管理员登录成功", "普通用户登录成功", "管理员登录成功", "普通用户登录成功"}));
    EXPECT_TRUE(boxes.shown.empty());

    // A log that cannot be written does not block the login.
    session.execNative("DROP TABLE T_txt");
    attempt("5", true);
    EXPECT_EQ(session.statusText, "Go");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("操作日志无法写入"));
}

TEST_F(frmKeyTest, TwoWrongPasswordsThenTheRightOneByEnterOrAThirdWrongEnds) {
    session.options.PassH = "Ab";
    attempt("ab"); // letter case counts
    attempt("x");
    expectWrongPasswordBoxes(2);
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(text1()->text(), "x"); // left for correcting
    EXPECT_TRUE(session.statusText == "End" && !session.loggedIn);
    text1()->setText("Ab");
    QTest::keyClick(text1(), Qt::Key_Return);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(session.statusText, "Go");
    EXPECT_EQ(log(), QStringList({"登录失败", "登录失败", "管理员登录成功"}));

    // The third wrong one ends without a word.
    session.admin = session.loggedIn = false;
    boxes.clear();
    for (const char* wrong : {"a", "b", "c"})
        attempt(wrong, wrong[0] == 'a');
    expectWrongPasswordBoxes(2);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(dialog().result(), QDialog::Rejected);
    EXPECT_TRUE(session.statusText == "End" && !session.admin && !session.loggedIn);
    EXPECT_EQ(log().size(), 5);
}
