#include "core/Gbk.h"

#include <QList>
#include <cerrno>
#include <iconv.h>

namespace gbk {

namespace {
// One converter for the process; the program has one thread.
iconv_t converter() {
    static iconv_t cd = iconv_open("GBK", "UTF-32LE");
    return cd;
}
} // namespace

std::optional<QByteArray> encodeChar(char32_t codePoint) {
    iconv_t cd = converter();
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // reset shift state
    char in[4] = {char(codePoint & 0xFF), char((codePoint >> 8) & 0xFF), char((codePoint >> 16) & 0xFF),
                  char((codePoint >> 24) & 0xFF)};
    char out[8];
    char* inp = in;
    char* outp = out;
    size_t inLeft = 4, outLeft = sizeof out;
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
    return QByteArray(out, int(sizeof out - outLeft));
}

std::vector<std::optional<QByteArray>> encodeChars(const QString& text) {
    std::vector<std::optional<QByteArray>> result;
    for (char32_t cp : text.toUcs4())
        result.push_back(encodeChar(cp));
    return result;
}

} // namespace gbk
