#include "core/Pinyin.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {
// The character that GBK writes with this code.
QString gbkChar(unsigned code) {
    QStringDecoder decoder("GBK");
    const char bytes[2] = {char(code >> 8), char(code & 0xFF)};
    return decoder.decode(QByteArray(bytes, 2));
}
} // namespace

TEST(PinyinInitials, EveryBlockBoundaryGivesItsLetterAndNothingOutside) {
    ASSERT_TRUE(QStringDecoder("GBK").isValid());
    // The blocks as signed 16-bit codes; the first-level characters run without a gap.
    struct Block {
        int from, to;
        char letter;
    };
    const Block blocks[] = {
        {-20319, -20284, 'A'}, {-20283, -19776, 'B'}, {-19775, -19219, 'C'}, {-19218, -18711, 'D'},
        {-18710, -18527, 'E'}, {-18526, -18240, 'F'}, {-18239, -17923, 'G'}, {-17922, -17418, 'H'},
        {-17417, -16475, 'J'}, {-16474, -16213, 'K'}, {-16212, -15641, 'L'}, {-15640, -15166, 'M'},
        {-15165, -14923, 'N'}, {-14922, -14915, 'O'}, {-14914, -14631, 'P'}, {-14630, -14150, 'Q'},
        {-14149, -14091, 'R'}, {-14090, -13319, 'S'}, {-13318, -12839, 'T'}, {-12838, -12557, 'W'},
        {-12556, -11848, 'X'}, {-11847, -11056, 'Y'}, {-11055, -10247, 'Z'},
    };
    for (const Block& b : blocks) {
        const QString letter(QLatin1Char(b.letter));
        EXPECT_EQ(PinyinInitials(gbkChar(unsigned(b.from + 65536))), letter) << b.letter;
        EXPECT_EQ(PinyinInitials(gbkChar(unsigned(b.to + 65536))), letter) << b.letter;
    }
    // Just outside the first level: a GBK extension character before it, and after it the
    // unassigned end of row D7 and the first second-level character.
    EXPECT_EQ(PinyinInitials(gbkChar(0xB0A0)), "");
    EXPECT_EQ(PinyinInitials(gbkChar(0xD7FA)), "");
    EXPECT_EQ(PinyinInitials(gbkChar(0xD8A1)), "");
    EXPECT_EQ(PinyinInitials(gbkChar(0xB0A1) + gbkChar(0xD7F9)), "AZ");
}

TEST(PinyinInitials, OnlyFirstLevelChineseCharactersCount) {
    EXPECT_EQ(PinyinInitials("联想笔记本电脑"), "LXBJBDN");
    EXPECT_EQ(PinyinInitials("ThinkPad 笔记本-T61 (黑色)"), "BJBHS");
    // Second-level characters, GBK extensions, full-width signs and letters, ideographic space.
    EXPECT_EQ(PinyinInitials("亍丂！Ａ　，"), "");
    // Characters GBK cannot hold, between characters that count.
    EXPECT_EQ(PinyinInitials("红😀한ｶ蓝"), "HL");
}
