#pragma once
#include <QString>

// Trims the text and drops every character that occurs in `set` (exact comparison).
QString StripChars(const QString& text, const QString& set);

// Length of the text in the GBK code page: a Chinese character 2, an ASCII character 1,
// a character GBK cannot hold 1 (the conversion writes "?" for it).
int AnsiByteLength(const QString& text);

// The usual cleaning of user text before it goes between single quotes: trim, no apostrophes.
inline QString Clean(const QString& text) {
    return StripChars(text, QStringLiteral("'"));
}
