#include "core/KeywordSearch.h"
#include "support/TestFixture.h"

#include <QComboBox>

// Empty keywords, several keywords and blanks after a comma: MainWindowTest.KeywordConditionsAndMemory.
TEST(KeywordCondition, BuildsOneInStrPerKeyword) {
    const QString f = "A & ',' & B";
    EXPECT_EQ(KeywordCondition(f, ""), " id>0 ");
    EXPECT_EQ(KeywordCondition(f, "x"), " InStr(A & ',' & B,'x')>0");
    EXPECT_EQ(KeywordCondition(f, ",x,"), " InStr(A & ',' & B,'x')>0");
    EXPECT_EQ(KeywordCondition(f, "o'k"), " InStr(A & ',' & B,'ok')>0");
}

using KeywordMemoryTest = LedgerFixture;

TEST_F(KeywordMemoryTest, RemembersEachExactTextOnce) {
    QComboBox combo;
    combo.setEditable(true);
    session.addRow("T_Key", {{"cc", "螺丝"}});
    session.addRow("T_Key", {{"cc", "Abc"}});
    LoadKeywordCombo(session, combo);
    ASSERT_EQ(combo.count(), 2);
    SaveKey(session, combo, "螺丝");
    SaveKey(session, combo, "abc"); // another case is another text
    SaveKey(session, combo, "abc");
    SaveKey(session, combo, "");
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(2), "abc");
    EXPECT_EQ(combo.itemText(3), "");
    EXPECT_EQ(scalar("select count(*) from T_Key").toLongLong(), 4);
}
