#include "core/TextRoutines.h"

#include "core/Gbk.h"

QString StripChars(const QString& text, const QString& set) {
    // VB's Trim removes spaces only, not tabs or other white space.
    qsizetype from = 0, to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    QString result;
    result.reserve(to - from);
    for (qsizetype i = from; i < to; ++i)
        if (!set.contains(text.at(i))) result.append(text.at(i));
    return result;
}

int AnsiByteLength(const QString& text) {
    int n = 0;
    for (const auto& bytes : gbk::encodeChars(text))
        n += bytes ? int(bytes->size()) : 1;
    return n;
}
