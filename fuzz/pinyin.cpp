// A goods name -> its pinyin initials: capital letters only (no syllable starts with I, U or
// V), at most one for each character. The bytes are read both as UTF-8 and as UTF-16, where a
// surrogate may stand alone.
#include "core/Pinyin.h"
#include "core/TextRoutines.h"

#include <cstdio>
#include <cstdlib>

namespace {

void check(const QString& text) {
    const QString initials = PinyinInitials(text);
    const int bytes = AnsiByteLength(text);
    bool ok = initials.size() <= text.size() && bytes >= 0 && bytes <= 2 * text.size();
    for (QChar c : initials)
        ok = ok && c >= QLatin1Char('A') && c <= QLatin1Char('Z') && c != QLatin1Char('I') &&
             c != QLatin1Char('U') && c != QLatin1Char('V');
    if (!ok) {
        std::fprintf(stderr, "\"%s\" -> \"%s\"\n", text.toStdString().c_str(),
                     initials.toStdString().c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    check(QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2)));
    return 0;
}
