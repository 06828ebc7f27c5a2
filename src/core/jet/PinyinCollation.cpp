#include "core/jet/PinyinCollation.h"

#include <algorithm>
#include <vector>

PinyinCollation::PinyinCollation() : collator_(QLocale(QLocale::Chinese, QLocale::China)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
    std::vector<char> chars;
    for (int c = 0; c < 128; ++c)
        chars.push_back(char(c));
    auto cmp = [&](char x, char y) {
        return collator_.compare(QString(QLatin1Char(x)), QString(QLatin1Char(y)));
    };
    std::stable_sort(chars.begin(), chars.end(), [&](char x, char y) { return cmp(x, y) < 0; });
    // QCollator calls every text greater than the empty one, so ask about "a" and "a" + c.
    const QString a = QStringLiteral("a");
    unsigned char rank = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        const char c = chars[i];
        if (collator_.compare(a + QLatin1Char(c), a) == 0) {
            asciiRank_[size_t(c)] = 0; // ignored by the collator
            continue;
        }
        if (rank == 0 || cmp(chars[i - 1], c) != 0) ++rank;
        asciiRank_[size_t(c)] = rank;
    }
}

bool PinyinCollation::isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int PinyinCollation::compareAscii(std::string_view a, std::string_view b) const {
    size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && asciiRank_[size_t(a[i])] == 0)
            ++i;
        while (j < b.size() && asciiRank_[size_t(b[j])] == 0)
            ++j;
        if (i == a.size() || j == b.size()) return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        const int d = int(asciiRank_[size_t(a[i])]) - int(asciiRank_[size_t(b[j])]);
        if (d) return d;
        ++i;
        ++j;
    }
}

const QCollatorSortKey& PinyinCollation::key(std::string_view s) {
    auto it = keys_.find(s);
    if (it != keys_.end()) return it->second;
    if (keys_.size() > 50000) keys_.clear(); // a few MB at most
    const QString text = QString::fromUtf8(s.data(), qsizetype(s.size()));
    return keys_.emplace(std::string(s), collator_.sortKey(text)).first->second;
}

int PinyinCollation::compare(std::string_view a, std::string_view b) {
    if (a == b) return 0;
    if (isAscii(a) && isAscii(b)) return compareAscii(a, b);
    // Two look-ups: the second may clear the cache, so compare from a copy of the first key.
    const QCollatorSortKey first = key(a);
    return first.compare(key(b));
}
