// Text typed into a number box -> the number read from it, rounded as money and shown again.
// What is shown must read back as the same number, and the number at the start of a text must
// not change when more text follows it.
#include "core/Vb.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QString& text, double v) {
    std::fprintf(stderr, "%s: \"%s\" -> %.17g\n", what, text.toStdString().c_str(), v);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double v = vb::Val(text);
    if (std::isnan(v)) fail("not a number", text, v);
    if (vb::IsFiniteNumber(text) != std::isfinite(v)) fail("finite or not", text, v);
    if (vb::Val(text + QStringLiteral("kg")) != v) fail("unit after the number", text, v);
    if (!std::isfinite(v)) return 0;

    // Shown with 15 digits, a number reads back as a number that shows the same.
    const QString shown = vb::CStr(v);
    if (vb::CStr(vb::Val(shown)) != shown) fail("shown and read back", text, v);
    for (int decimals : {0, 2, 4}) {
        const double r = vb::Round(v, decimals);
        if (!std::isfinite(r)) fail("rounded", text, v);
        if (vb::Round(r, decimals) != r) fail("rounded twice", text, v);
        // Half a unit of the last decimal, and what scaling in doubles may add near 15 digits.
        const double most = 0.5 * std::pow(10.0, -decimals) + std::fabs(v) * 4e-16;
        if (std::fabs(r - v) > most) fail("rounded too far", text, v);
    }
    return 0;
}
