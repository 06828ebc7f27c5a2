#pragma once
#include <QString>

// The pinyin initials of a goods name, as capital letters: the default short code, so that a
// Chinese name can be found by typing a few Latin letters. Only the first-level characters of
// GB2312 (ordered by pinyin there) count; everything else contributes nothing.
QString PinyinInitials(const QString& text);
