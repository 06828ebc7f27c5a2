#include "core/Gbk.h"

#include <QList>
#include <cerrno>
#include <iconv.h>

namespace gbk {

namespace {

// iconv keeps a conversion state in its handle, so each text gets a converter of its own.
class Converter {
public:
    Converter() : cd_(iconv_open("GBK", "UTF-32LE")) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<QByteArray> encode(char32_t codePoint) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // reset shift state
        char in[4] = {char(codePoint & 0xFF), char((codePoint >> 8) & 0xFF), char((codePoint >> 16) & 0xFF),
                      char((codePoint >> 24) & 0xFF)};
        char out[8];
        char* inp = in;
        char* outp = out;
        size_t inLeft = 4, outLeft = sizeof out;
        if (iconv(cd_, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        return QByteArray(out, int(sizeof out - outLeft));
    }

private:
    iconv_t cd_;
};

} // namespace

std::vector<std::optional<QByteArray>> encodeChars(const QString& text) {
    Converter converter;
    std::vector<std::optional<QByteArray>> result;
    for (char32_t cp : text.toUcs4())
        result.push_back(converter.ok() ? converter.encode(cp) : std::nullopt);
    return result;
}

} // namespace gbk
