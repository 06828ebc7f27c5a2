#include "core/Pinyin.h"

#include "core/Gbk.h"

#include <array>

namespace {

struct Range {
    unsigned from, to; // GBK double-byte codes, both ends included
    char letter;
};

// GB2312 orders its first-level characters by pinyin, so each initial owns one block of codes.
// There is no block for I, U and V: no syllable starts with them.
constexpr std::array<Range, 23> kRanges{{
    {0xB0A1, 0xB0C4, 'A'}, {0xB0C5, 0xB2C0, 'B'}, {0xB2C1, 0xB4ED, 'C'}, {0xB4EE, 0xB6E9, 'D'},
    {0xB6EA, 0xB7A1, 'E'}, {0xB7A2, 0xB8C0, 'F'}, {0xB8C1, 0xB9FD, 'G'}, {0xB9FE, 0xBBF6, 'H'},
    {0xBBF7, 0xBFA5, 'J'}, {0xBFA6, 0xC0AB, 'K'}, {0xC0AC, 0xC2E7, 'L'}, {0xC2E8, 0xC4C2, 'M'},
    {0xC4C3, 0xC5B5, 'N'}, {0xC5B6, 0xC5BD, 'O'}, {0xC5BE, 0xC6D9, 'P'}, {0xC6DA, 0xC8BA, 'Q'},
    {0xC8BB, 0xC8F5, 'R'}, {0xC8F6, 0xCBF9, 'S'}, {0xCBFA, 0xCDD9, 'T'}, {0xCDDA, 0xCEF3, 'W'},
    {0xCEF4, 0xD1B8, 'X'}, {0xD1B9, 0xD4D0, 'Y'}, {0xD4D1, 0xD7F9, 'Z'},
}};

} // namespace

QString PinyinInitials(const QString& text) {
    QString result;
    for (const auto& bytes : gbk::encodeChars(text)) {
        // Single-byte characters (Latin letters, digits, punctuation) and characters GBK
        // cannot hold have no initial.
        if (!bytes || bytes->size() != 2) continue;
        const unsigned code = unsigned(uchar(bytes->at(0))) << 8 | uchar(bytes->at(1));
        for (const Range& r : kRanges)
            if (code >= r.from && code <= r.to) {
                result += QLatin1Char(r.letter);
                break;
            }
    }
    return result;
}
