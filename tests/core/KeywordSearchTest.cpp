#include "core/KeywordSearch.h"
#include "support/TestFixture.h"

// Empty keywords, several keywords and blanks after a comma: MainWindowTest.KeywordConditionsAndMemory.
TEST(KeywordCondition, BuildsOneInStrPerKeyword) {
    const QString f = "A & ',' & B";
    EXPECT_EQ(KeywordCondition(f, ""), " id>0 ");
    EXPECT_EQ(KeywordCondition(f, "x"), " InStr(A & ',' & B,'x')>0");
    EXPECT_EQ(KeywordCondition(f, ",x,"), " InStr(A & ',' & B,'x')>0");
    EXPECT_EQ(KeywordCondition(f, "o'k"), " InStr(A & ',' & B,'ok')>0");
}
