#pragma once
// The order in which the ledger sorts and compares text: without regard to letter case,
// Chinese by pinyin (QCollator for zh_CN). Registered on every connection as "PINYIN".
#include <QCollator>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

class PinyinCollation {
public:
    PinyinCollation();
    // <0, 0, >0 like strcmp; the texts are UTF-8.
    int compare(std::string_view a, std::string_view b);

private:
    static bool isAscii(std::string_view s);
    int compareAscii(std::string_view a, std::string_view b) const;
    const QCollatorSortKey& key(std::string_view s);

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    QCollator collator_;
    // The collator's order of the ASCII characters: equal ranks for letters that differ only
    // in case, 0 for characters it ignores. Pure-ASCII texts compare through this table.
    std::array<unsigned char, 128> asciiRank_{};
    std::unordered_map<std::string, QCollatorSortKey, Hash, std::equal_to<>> keys_;
};
