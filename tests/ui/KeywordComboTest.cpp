#include "ui/KeywordCombo.h"
#include "support/TestFixture.h"

using KeywordComboTest = LedgerFixture;

TEST_F(KeywordComboTest, RemembersEachExactTextOnce) {
    KeywordCombo combo;
    session.addRow("T_Key", {{"cc", "螺丝"}});
    session.addRow("T_Key", {{"cc", "Abc"}});
    combo.load(session);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.currentText(), ""); // the box starts empty
    combo.remember(session, "螺丝");
    combo.remember(session, "abc"); // another case is another text
    EXPECT_EQ(combo.currentText(), "abc");
    combo.remember(session, "abc");
    combo.remember(session, "");
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(2), "abc");
    EXPECT_EQ(combo.itemText(3), "");
    EXPECT_EQ(scalar("select count(*) from T_Key").toLongLong(), 4);
}
