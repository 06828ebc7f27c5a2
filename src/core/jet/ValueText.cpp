#include "core/jet/ValueText.h"

#include "core/Vb.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace jet {

QString isoText(const QDateTime& dt) {
    return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                    : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime parseDateText(const QString& text, bool usOrder) {
    QDateTime dt = vb::ParseDateTime(text);
    if (dt.isValid() || !usOrder) return dt;
    static const QRegularExpression us(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const auto m = us.match(text);
    if (!m.hasMatch()) return {};
    const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    const QTime t = m.captured(4).isEmpty()
                        ? QTime(0, 0)
                        : QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!d.isValid() || !t.isValid()) return {};
    return QDateTime(d, t);
}

namespace {

void appendUnsigned(std::string& out, std::uint64_t v) {
    char buf[24];
    int i = sizeof buf;
    do {
        buf[--i] = char('0' + v % 10);
        v /= 10;
    } while (v);
    out.append(buf + i, sizeof buf - i);
}

bool digits(const char* s, int n, int& value) {
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return days[month - 1];
}

char32_t foldCodepoint(char32_t c) {
    if (c >= 0x41 && c <= 0x5A) return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        if (c == 0x178) return 0xFF;
        const bool upperIsEven = c < 0x139 || (c >= 0x14A && c < 0x178);
        const bool even = c % 2 == 0;
        return even == upperIsEven ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
    return c;
}

bool takesPartInFolding(char32_t c) {
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0xC0 && c <= 0x17F) ||
           (c >= 0x391 && c <= 0x3C9) || (c >= 0x400 && c <= 0x45F) || (c >= 0xFF21 && c <= 0xFF5A);
}

// Decodes the character at s (n bytes left); returns its byte length, 0 for a broken sequence.
int decode(const unsigned char* s, int n, char32_t& c) {
    const unsigned char b = s[0];
    int len;
    if (b < 0x80) {
        c = b;
        return 1;
    } else if (b >= 0xC2 && b < 0xE0) {
        len = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b < 0xF0) {
        len = 3;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b < 0xF5) {
        len = 4;
        c = b & 0x07;
    } else {
        return 0;
    }
    if (len > n) return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (s[i] & 0x3F);
    }
    return len;
}

int encodedLength(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

void appendIntegerText(std::string& out, std::int64_t value) {
    if (value < 0) {
        out += '-';
        appendUnsigned(out, 0 - std::uint64_t(value));
    } else {
        appendUnsigned(out, std::uint64_t(value));
    }
}

void appendNumberText(std::string& out, double value) {
    if (value == 0.0) {
        out += '0';
        return;
    }
    // Amounts carry at most two decimals. When the value is the double nearest to such a
    // decimal, that decimal is exactly what 15 significant digits show.
    if (std::fabs(value) < 1e13) {
        const double hundredths = std::nearbyint(value * 100.0);
        if (hundredths / 100.0 == value) {
            std::int64_t n = std::int64_t(hundredths);
            if (n < 0) {
                out += '-';
                n = -n;
            }
            appendUnsigned(out, std::uint64_t(n / 100));
            const int cents = int(n % 100);
            if (cents) {
                out += '.';
                out += char('0' + cents / 10);
                if (cents % 10) out += char('0' + cents % 10);
            }
            return;
        }
    }
    out += vb::CStr(value).toStdString();
}

bool parseStoredDate(const char* s, int n, DateParts& p) {
    if (n != 10 && n != 16 && n != 19) return false;
    if (s[4] != '-' || s[7] != '-') return false;
    if (!digits(s, 4, p.year) || !digits(s + 5, 2, p.month) || !digits(s + 8, 2, p.day)) return false;
    p.hour = p.minute = p.second = 0;
    if (n > 10) {
        if ((s[10] != ' ' && s[10] != 'T') || s[13] != ':') return false;
        if (!digits(s + 11, 2, p.hour) || !digits(s + 14, 2, p.minute)) return false;
        if (n == 19 && (s[16] != ':' || !digits(s + 17, 2, p.second))) return false;
    }
    return p.month >= 1 && p.month <= 12 && p.day >= 1 && p.day <= daysInMonth(p.year, p.month) &&
           p.hour < 24 && p.minute < 60 && p.second < 60;
}

void appendDateText(std::string& out, const char* text, int length) {
    DateParts p;
    if (!parseStoredDate(text, length, p)) {
        const QString s = QString::fromUtf8(text, length);
        const QDateTime dt = vb::ParseDateTime(s);
        out += (dt.isValid() ? vb::DateTimeText(dt) : s).toStdString();
        return;
    }
    appendUnsigned(out, std::uint64_t(p.year));
    out += '-';
    appendUnsigned(out, std::uint64_t(p.month));
    out += '-';
    appendUnsigned(out, std::uint64_t(p.day));
    if (p.hour || p.minute || p.second) {
        out += ' ';
        appendUnsigned(out, std::uint64_t(p.hour));
        out += ':';
        out += char('0' + p.minute / 10);
        out += char('0' + p.minute % 10);
        out += ':';
        out += char('0' + p.second / 10);
        out += char('0' + p.second % 10);
    }
}

void foldCase(const char* text, int length, std::string& out) {
    out.clear();
    out.reserve(length);
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    int i = 0;
    while (i < length) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out += char(b >= 'A' && b <= 'Z' ? b + 0x20 : b);
            ++i;
            continue;
        }
        char32_t c;
        const int len = decode(s + i, length - i, c);
        if (len == 0) { // not UTF-8: keep the byte
            out += char(b);
            ++i;
            continue;
        }
        const char32_t f = foldCodepoint(c);
        if (f != c && encodedLength(f) == len)
            encode(f, out);
        else
            out.append(text + i, len);
        i += len;
    }
}

bool isCaseless(const char* text, int length) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    int i = 0;
    while (i < length) {
        char32_t c;
        const int len = decode(s + i, length - i, c);
        if (len == 0) {
            ++i;
            continue;
        }
        if (takesPartInFolding(c)) return false;
        i += len;
    }
    return true;
}

std::int64_t findText(const char* haystack, int hayLength, const char* needle, int needleLength,
                      bool needleCaseless, const std::string& foldedNeedle, std::string& scratch) {
    if (hayLength == 0) return 0;
    if (needleLength == 0) return 1;
    const char* base = haystack;
    const void* hit;
    if (needleCaseless) {
        hit = memmem(haystack, size_t(hayLength), needle, size_t(needleLength));
    } else if (std::all_of(foldedNeedle.begin(), foldedNeedle.end(),
                           [](char b) { return static_cast<unsigned char>(b) < 0x80; })) {
        // Folding keeps ASCII bytes ASCII and the others not, so an ASCII needle can only meet
        // ASCII bytes: folding those alone finds the same place without decoding the rest.
        scratch.resize(size_t(hayLength));
        for (int i = 0; i < hayLength; ++i) {
            const char b = haystack[i];
            scratch[size_t(i)] = b >= 'A' && b <= 'Z' ? char(b + 0x20) : b;
        }
        base = scratch.data();
        hit = memmem(scratch.data(), scratch.size(), foldedNeedle.data(), foldedNeedle.size());
    } else {
        foldCase(haystack, hayLength, scratch);
        base = scratch.data();
        hit = memmem(scratch.data(), scratch.size(), foldedNeedle.data(), foldedNeedle.size());
    }
    if (!hit) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(base);
    const auto* end = static_cast<const unsigned char*>(hit);
    std::int64_t chars = 1;
    for (; p < end; ++p)
        chars += (*p & 0xC0) != 0x80;
    return chars;
}

} // namespace jet
