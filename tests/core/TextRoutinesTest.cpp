#include "core/TextRoutines.h"

#include <gtest/gtest.h>

TEST(TextRoutines, StripCharsTrimsAndDropsApostrophesAndLengthsCountGbkBytes) {
    EXPECT_EQ(StripChars("  O'Bri'en  ", "'"), "OBrien");
    EXPECT_EQ(StripChars("'''", "'"), "");
    EXPECT_EQ(StripChars(" 张'三 ", "'"), "张三");
    EXPECT_EQ(StripChars("aAb", "a"), "Ab"); // exact, case-sensitive

    // Lengths in GBK bytes.
    EXPECT_EQ(AnsiByteLength("商品"), 4);
    EXPECT_EQ(AnsiByteLength("a商"), 3);
    EXPECT_EQ(AnsiByteLength("，"), 2);                   // full-width comma
    EXPECT_EQ(AnsiByteLength(QString::fromUtf8("😀")), 1); // GBK cannot hold it: one "?"
    EXPECT_EQ(AnsiByteLength(QString::fromUtf8("ab😀c")), 4);
}
