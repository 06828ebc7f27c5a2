#pragma once
// The GBK code page through glibc iconv: how each character of a text is written in
// the system's ANSI code page.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace gbk {

// The GBK bytes of each character of the text, in order; nullopt for one GBK cannot hold.
std::vector<std::optional<QByteArray>> encodeChars(const QString& text);

} // namespace gbk
