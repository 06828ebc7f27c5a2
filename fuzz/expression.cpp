// Text typed into the calculator -> its value or a readable error that points into the text.
#include "tools/ExpressionEvaluator.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ExpressionEvaluator::Result r = ExpressionEvaluator::evaluate(text);
    const char* fault = nullptr;
    if (r.ok && !std::isfinite(r.value)) fault = "a value that is not finite";
    if (r.ok && r.text().isEmpty()) fault = "a value without text";
    if (!r.ok && r.error.isEmpty()) fault = "an error without words";
    if (r.position < 0 || r.position > text.size() + 1) fault = "an error outside the text";
    if (fault) {
        std::fprintf(stderr, "%s: \"%s\" -> %.17g, %d, %s\n", fault, text.toStdString().c_str(), r.value,
                     r.position, r.error.toStdString().c_str());
        std::abort();
    }
    return 0;
}
