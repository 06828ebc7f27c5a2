// The SQL functions and the collation that translated statements call: Jet's meaning where
// SQLite's own operators differ from it. They run once per row, so they work on UTF-8 bytes.
#include "core/Vb.h"
#include "core/jet/PinyinCollation.h"
#include "core/jet/Translator.h"
#include "core/jet/ValueText.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace jet {

namespace {

// Per connection: the collation and the buffers the functions reuse.
struct Context {
    PinyinCollation collation;
    std::string out, scratch, haystack;
};

Context& context(sqlite3_context* ctx) {
    return *static_cast<Context*>(sqlite3_user_data(ctx));
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), int(s.size()), SQLITE_TRANSIENT);
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& message) {
    const QByteArray b = message.toUtf8();
    sqlite3_result_error(ctx, b.constData(), int(b.size()));
}

std::string_view textOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return {p ? p : "", size_t(sqlite3_value_bytes(v))};
}

// The text of a value as CStr gives it; Null gives nothing.
void appendValue(std::string& out, sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        appendIntegerText(out, sqlite3_value_int64(v));
        return;
    case SQLITE_FLOAT:
        appendNumberText(out, sqlite3_value_double(v));
        return;
    case SQLITE_NULL:
        return;
    default: {
        const std::string_view t = textOf(v);
        out.append(t.data(), t.size());
    }
    }
}

// A value as a text: the stored text itself, or the number written into the buffer.
std::string_view valueText(sqlite3_value* v, std::string& buffer) {
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_TEXT || type == SQLITE_BLOB) return textOf(v);
    buffer.clear();
    appendValue(buffer, v);
    return buffer;
}

QDateTime fromSerial(double serial) {
    // Jet's date numbers count days from 1899-12-30.
    const double days = std::floor(serial);
    const qint64 secs = qint64(std::llround((serial - days) * 86400.0));
    return QDateTime(QDate(1899, 12, 30).addDays(qint64(days)), QTime(0, 0)).addSecs(secs);
}

// The date a value stands for; invalid when it is none.
QDateTime dateOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return fromSerial(sqlite3_value_double(v));
    case SQLITE_NULL:
        return {};
    default: {
        const std::string_view t = textOf(v);
        DateParts p;
        if (parseStoredDate(t.data(), int(t.size()), p))
            return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
        return parseDateText(QString::fromUtf8(t.data(), qsizetype(t.size())));
    }
    }
}

void jetCat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string& out = context(ctx).out;
    out.clear();
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue; // one Null counts as ""
        any = true;
        appendValue(out, argv[i]);
    }
    if (any)
        resultText(ctx, out);
    else
        sqlite3_result_null(ctx); // Null & Null is Null
}

void jetStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL || type == SQLITE_TEXT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    std::string& out = context(ctx).out;
    out.clear();
    appendValue(out, argv[0]);
    resultText(ctx, out);
}

void jetDateText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        resultText(ctx, vb::DateTimeText(fromSerial(sqlite3_value_double(argv[0]))));
        return;
    default: {
        std::string& out = context(ctx).out;
        out.clear();
        const std::string_view t = textOf(argv[0]);
        appendDateText(out, t.data(), int(t.size()));
        resultText(ctx, out);
    }
    }
}

void jetBoolText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool on = sqlite3_value_double(argv[0]) != 0.0;
    sqlite3_result_text(ctx, on ? "True" : "False", -1, SQLITE_STATIC);
}

// The searched-for text, folded once per statement when it is a constant.
struct Needle {
    std::string raw, folded;
    bool caseless = false;
};

void freeNeedle(void* p) {
    delete static_cast<Needle*>(p);
}

void jetInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    const int first = argc == 2 ? 0 : 1;
    sqlite3_int64 start = 1;
    if (argc > 2) {
        start = sqlite3_value_int64(argv[0]);
        if (start < 1) {
            resultError(ctx, QStringLiteral("InStr 的起始位置必须大于 0"));
            return;
        }
    }
    const bool binary = argc == 4 && sqlite3_value_int(argv[3]) == 0;
    Context& c = context(ctx);
    std::string_view hay = valueText(argv[first], c.haystack);
    std::string needleBuffer;
    const std::string_view needleText = valueText(argv[first + 1], needleBuffer);

    // A constant needle keeps its folded form for the whole statement.
    Needle local;
    const Needle* needle = static_cast<const Needle*>(sqlite3_get_auxdata(ctx, first + 1));
    if (!needle || needle->raw != needleText) {
        local.raw.assign(needleText.data(), needleText.size());
        foldCase(local.raw.data(), int(local.raw.size()), local.folded);
        local.caseless = isCaseless(local.raw.data(), int(local.raw.size()));
        sqlite3_set_auxdata(ctx, first + 1, new Needle(local), freeNeedle);
        needle = &local;
    }
    // Skip to the start position, counting characters.
    size_t offset = 0;
    for (sqlite3_int64 skip = start - 1; skip > 0 && offset < hay.size(); --skip) {
        ++offset;
        while (offset < hay.size() && (static_cast<unsigned char>(hay[offset]) & 0xC0) == 0x80)
            ++offset;
    }
    if (start > 1 && offset >= hay.size()) {
        sqlite3_result_int64(ctx, 0);
        return;
    }
    const std::int64_t at =
        findText(hay.data() + offset, int(hay.size() - offset), needle->raw.data(), int(needle->raw.size()),
                 needle->caseless || binary, needle->folded, c.scratch);
    sqlite3_result_int64(ctx, at == 0 ? 0 : at + start - 1);
}

bool nullArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return true;
        }
    return false;
}

const QString kDivideByZero = QStringLiteral("除数为零");

void jetDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    const double b = sqlite3_value_double(argv[1]);
    if (b == 0.0) {
        resultError(ctx, kDivideByZero);
        return;
    }
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) / b);
}

// Integer division and Mod round their operands to whole numbers first.
bool wholeOperands(sqlite3_context* ctx, sqlite3_value** argv, sqlite3_int64& a, sqlite3_int64& b) {
    a = sqlite3_int64(vb::Round(sqlite3_value_double(argv[0]), 0));
    b = sqlite3_int64(vb::Round(sqlite3_value_double(argv[1]), 0));
    if (b == 0) {
        resultError(ctx, kDivideByZero);
        return false;
    }
    return true;
}

void jetIntDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_int64 a, b;
    if (!nullArgs(ctx, argc, argv) && wholeOperands(ctx, argv, a, b)) sqlite3_result_int64(ctx, a / b);
}

void jetMod(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_int64 a, b;
    if (!nullArgs(ctx, argc, argv) && wholeOperands(ctx, argv, a, b)) sqlite3_result_int64(ctx, a % b);
}

void jetPow(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    const double r = std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1]));
    if (!std::isfinite(r)) {
        resultError(ctx, QStringLiteral("乘方的结果无效"));
        return;
    }
    sqlite3_result_double(ctx, r);
}

void jetRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0 || n > 15) {
        resultError(ctx, QStringLiteral("Round 的小数位数必须在 0 到 15 之间"));
        return;
    }
    if (sqlite3_value_numeric_type(argv[0]) == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    sqlite3_result_double(ctx, vb::Round(sqlite3_value_double(argv[0]), int(n)));
}

void jetIsoDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string_view t = textOf(argv[0]);
    DateParts p;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && t.size() == 10 && parseStoredDate(t.data(), 10, p)) {
        sqlite3_result_value(ctx, argv[0]); // already stored form
        return;
    }
    const QDateTime dt = dateOf(argv[0]);
    if (!dt.isValid()) {
        resultError(
            ctx, QStringLiteral("不是有效的日期：%1").arg(QString::fromUtf8(t.data(), qsizetype(t.size()))));
        return;
    }
    resultText(ctx, isoText(dt));
}

void jetDateAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    const QDateTime dt = dateOf(argv[0]);
    if (!dt.isValid()) {
        resultError(ctx, QStringLiteral("不是有效的日期：%1").arg(QString::fromUtf8(textOf(argv[0]).data())));
        return;
    }
    resultText(ctx, isoText(dt.addSecs(qint64(std::llround(sqlite3_value_double(argv[1]) * 86400.0)))));
}

void jetBool(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_numeric_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_int(ctx, sqlite3_value_double(v) != 0.0 ? -1 : 0);
        return;
    default: {
        const QString t = QString::fromUtf8(textOf(v).data()).trimmed();
        for (const char* yes : {"True", "Yes", "On"})
            if (t.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0) {
                sqlite3_result_int(ctx, -1);
                return;
            }
        for (const char* no : {"False", "No", "Off"})
            if (t.compare(QLatin1String(no), Qt::CaseInsensitive) == 0) {
                sqlite3_result_int(ctx, 0);
                return;
            }
        resultError(ctx, QStringLiteral("类型不匹配：“%1”不是是/否值").arg(t));
    }
    }
}

// The value as a number, or an error for text that is not one.
bool numberOf(sqlite3_context* ctx, sqlite3_value* v, double& out, bool& integer, sqlite3_int64& whole) {
    switch (sqlite3_value_numeric_type(v)) {
    case SQLITE_INTEGER:
        integer = true;
        whole = sqlite3_value_int64(v);
        out = double(whole);
        return true;
    case SQLITE_FLOAT:
        integer = false;
        out = sqlite3_value_double(v);
        return true;
    default:
        resultError(ctx, QStringLiteral("类型不匹配：“%1”不是数值").arg(QString::fromUtf8(textOf(v).data())));
        return false;
    }
}

void jetClng(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    double d;
    bool integer;
    sqlite3_int64 whole;
    if (!numberOf(ctx, argv[0], d, integer, whole)) return;
    if (!integer) d = vb::Round(d, 0);
    if (d < -2147483648.0 || d > 2147483647.0) {
        resultError(ctx, QStringLiteral("数值溢出"));
        return;
    }
    sqlite3_result_int64(ctx, integer ? whole : sqlite3_int64(d));
}

void jetCdbl(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    double d;
    bool integer;
    sqlite3_int64 whole;
    if (numberOf(ctx, argv[0], d, integer, whole)) sqlite3_result_double(ctx, d);
}

void jetVal(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    std::string buffer;
    const std::string_view t = valueText(argv[0], buffer);
    sqlite3_result_double(ctx, vb::Val(QString::fromUtf8(t.data(), qsizetype(t.size()))));
}

void wholePart(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool toward0) {
    if (nullArgs(ctx, argc, argv)) return;
    double d;
    bool integer;
    sqlite3_int64 whole;
    if (!numberOf(ctx, argv[0], d, integer, whole)) return;
    if (integer)
        sqlite3_result_int64(ctx, whole);
    else
        sqlite3_result_double(ctx, toward0 ? std::trunc(d) : std::floor(d));
}

void jetInt(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    wholePart(ctx, argc, argv, false);
}
void jetFix(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    wholePart(ctx, argc, argv, true);
}

void jetRight(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    const std::string_view s = textOf(argv[0]);
    sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        resultError(ctx, QStringLiteral("Right 的长度不能为负"));
        return;
    }
    size_t at = s.size();
    while (n > 0 && at > 0) {
        --at;
        if ((static_cast<unsigned char>(s[at]) & 0xC0) != 0x80) --n;
    }
    sqlite3_result_text(ctx, s.data() + at, int(s.size() - at), SQLITE_TRANSIENT);
}

// Jet's LIKE: * or % any run (the latter as ADO writes it), ? or _ any character, # a digit,
// [abc], [!abc], [a-z]; letter case ignored.
bool likeMatch(const std::u32string& s, const std::u32string& p) {
    size_t si = 0, pi = 0, starP = std::u32string::npos, starS = 0;
    auto one = [&](size_t& pj, char32_t c) -> bool { // matches one pattern element at pj against c
        const char32_t x = p[pj];
        if (x == U'?' || x == U'_') {
            ++pj;
            return true;
        }
        if (x == U'#') {
            ++pj;
            return c >= U'0' && c <= U'9';
        }
        if (x == U'[') {
            size_t k = pj + 1;
            const bool negate = k < p.size() && p[k] == U'!';
            if (negate) ++k;
            bool hit = false;
            bool closed = false;
            while (k < p.size()) {
                if (p[k] == U']') {
                    closed = true;
                    break;
                }
                if (k + 2 < p.size() && p[k + 1] == U'-' && p[k + 2] != U']') {
                    hit = hit || (c >= p[k] && c <= p[k + 2]);
                    k += 3;
                } else {
                    hit = hit || c == p[k];
                    ++k;
                }
            }
            if (!closed) { // a lone [ is itself
                ++pj;
                return c == U'[';
            }
            pj = k + 1;
            return hit != negate;
        }
        ++pj;
        return c == x;
    };
    while (si < s.size()) {
        if (pi < p.size() && (p[pi] == U'*' || p[pi] == U'%')) {
            starP = ++pi;
            starS = si;
            continue;
        }
        size_t pj = pi;
        if (pi < p.size() && one(pj, s[si])) {
            pi = pj;
            ++si;
            continue;
        }
        if (starP == std::u32string::npos) return false;
        pi = starP;
        si = ++starS;
    }
    while (pi < p.size() && (p[pi] == U'*' || p[pi] == U'%'))
        ++pi;
    return pi == p.size();
}

void jetLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    Context& c = context(ctx);
    std::string a, b;
    const std::string_view ta = valueText(argv[0], c.out);
    foldCase(ta.data(), int(ta.size()), a);
    const std::string_view tb = valueText(argv[1], c.out);
    foldCase(tb.data(), int(tb.size()), b);
    sqlite3_result_int(ctx, likeMatch(QString::fromStdString(a).toStdU32String(),
                                      QString::fromStdString(b).toStdU32String()));
}

// ---- format(): VB's date formats, and the plain number formats -----------------------------

struct FormatPart {
    enum Kind {
        Literal,
        Year4,
        Year2,
        Quarter,
        MonthName,
        MonthAbbr,
        Month2,
        Month,
        Minute2,
        Minute,
        DayName,
        DayAbbr,
        Day2,
        Day,
        Hour2,
        Hour,
        Second2,
        Second,
        AmPm
    } kind;
    std::string literal;
};

struct DateFormat {
    std::string source;
    bool isDate = false;
    std::vector<FormatPart> parts;
};

void freeFormat(void* p) {
    delete static_cast<DateFormat*>(p);
}

std::string namedFormat(const std::string& f) {
    QString n = QString::fromStdString(f).toLower();
    if (n == QLatin1String("general date")) return "\x01"; // vb::DateTimeText
    if (n == QLatin1String("short date")) return "yyyy-m-d";
    if (n == QLatin1String("long date")) return "yyyy\"年\"m\"月\"d\"日\"";
    if (n == QLatin1String("medium date")) return "yy-mmm-dd";
    if (n == QLatin1String("short time")) return "hh:nn";
    if (n == QLatin1String("medium time")) return "hh:nn AM/PM";
    if (n == QLatin1String("long time")) return "h:nn:ss";
    return f;
}

DateFormat compileFormat(std::string_view text) {
    DateFormat df;
    df.source.assign(text.data(), text.size());
    const std::string f = namedFormat(df.source);
    if (f == "\x01") {
        df.isDate = true;
        return df; // no parts: general date
    }
    auto lower = [](char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    auto run = [&](size_t i) { // length of the run of the same letter at i
        size_t j = i;
        while (j < f.size() && lower(f[j]) == lower(f[i]))
            ++j;
        return j - i;
    };
    auto literal = [&](const std::string& s) {
        if (!df.parts.empty() && df.parts.back().kind == FormatPart::Literal)
            df.parts.back().literal += s;
        else
            df.parts.push_back({FormatPart::Literal, s});
    };
    size_t i = 0;
    while (i < f.size()) {
        const char c = lower(f[i]);
        if (f[i] == '"') {
            const size_t close = f.find('"', i + 1);
            literal(f.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1));
            i = close == std::string::npos ? f.size() : close + 1;
            continue;
        }
        if (f[i] == '\\' && i + 1 < f.size()) {
            literal(std::string(1, f[i + 1]));
            i += 2;
            continue;
        }
        if (f.compare(i, 5, "AM/PM") == 0 || f.compare(i, 5, "am/pm") == 0) {
            df.parts.push_back({FormatPart::AmPm, f.substr(i, 5)});
            df.isDate = true;
            i += 5;
            continue;
        }
        const size_t n = run(i);
        FormatPart::Kind kind = FormatPart::Literal;
        size_t used = n;
        switch (c) {
        case 'y':
            kind = n >= 3 ? FormatPart::Year4 : FormatPart::Year2;
            used = n >= 3 ? 4 : 2;
            if (n == 1) {
                kind = FormatPart::Year2; // day of year is not used by the ledger
                used = 1;
            }
            break;
        case 'q':
            kind = FormatPart::Quarter;
            used = 1;
            break;
        case 'm':
            kind = n >= 4   ? FormatPart::MonthName
                   : n == 3 ? FormatPart::MonthAbbr
                   : n == 2 ? FormatPart::Month2
                            : FormatPart::Month;
            used = std::min<size_t>(n, 4);
            break;
        case 'd':
            kind = n >= 4   ? FormatPart::DayName
                   : n == 3 ? FormatPart::DayAbbr
                   : n == 2 ? FormatPart::Day2
                            : FormatPart::Day;
            used = std::min<size_t>(n, 4);
            break;
        case 'h':
            kind = n >= 2 ? FormatPart::Hour2 : FormatPart::Hour;
            used = std::min<size_t>(n, 2);
            break;
        case 'n':
            kind = n >= 2 ? FormatPart::Minute2 : FormatPart::Minute;
            used = std::min<size_t>(n, 2);
            break;
        case 's':
            kind = n >= 2 ? FormatPart::Second2 : FormatPart::Second;
            used = std::min<size_t>(n, 2);
            break;
        default:
            break;
        }
        if (kind == FormatPart::Literal) {
            // The date separator of the ledger's dates ("yyyy-m-d") stands for "/".
            literal(std::string(1, f[i] == '/' ? '-' : f[i]));
            ++i;
            continue;
        }
        df.isDate = true;
        df.parts.push_back({kind, {}});
        i += used;
    }
    // m and mm are minutes right after an hour, or right before seconds.
    int lastField = -1;
    for (size_t k = 0; k < df.parts.size(); ++k) {
        FormatPart& p = df.parts[k];
        if (p.kind == FormatPart::Literal) continue;
        if (p.kind == FormatPart::Month || p.kind == FormatPart::Month2) {
            bool minute = lastField >= 0 && (df.parts[size_t(lastField)].kind == FormatPart::Hour ||
                                             df.parts[size_t(lastField)].kind == FormatPart::Hour2);
            for (size_t j = k + 1; !minute && j < df.parts.size(); ++j) {
                if (df.parts[j].kind == FormatPart::Literal) continue;
                minute = df.parts[j].kind == FormatPart::Second || df.parts[j].kind == FormatPart::Second2;
                break;
            }
            if (minute) p.kind = p.kind == FormatPart::Month ? FormatPart::Minute : FormatPart::Minute2;
        }
        lastField = int(k);
    }
    return df;
}

void two(std::string& out, int v) {
    out += char('0' + v / 10 % 10);
    out += char('0' + v % 10);
}

void formatDate(std::string& out, const DateFormat& df, const DateParts& p) {
    if (df.parts.empty()) {
        out += vb::DateTimeText(QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second)))
                   .toStdString();
        return;
    }
    const QLocale zh(QLocale::Chinese, QLocale::China);
    for (const FormatPart& part : df.parts) {
        switch (part.kind) {
        case FormatPart::Literal:
            out += part.literal;
            break;
        case FormatPart::Year4:
            appendIntegerText(out, p.year);
            break;
        case FormatPart::Year2:
            two(out, p.year % 100);
            break;
        case FormatPart::Quarter:
            appendIntegerText(out, (p.month - 1) / 3 + 1);
            break;
        case FormatPart::MonthName:
            out += zh.monthName(p.month, QLocale::LongFormat).toStdString();
            break;
        case FormatPart::MonthAbbr:
            out += zh.monthName(p.month, QLocale::ShortFormat).toStdString();
            break;
        case FormatPart::Month2:
            two(out, p.month);
            break;
        case FormatPart::Month:
            appendIntegerText(out, p.month);
            break;
        case FormatPart::DayName:
            out += zh.dayName(QDate(p.year, p.month, p.day).dayOfWeek(), QLocale::LongFormat).toStdString();
            break;
        case FormatPart::DayAbbr:
            out += zh.dayName(QDate(p.year, p.month, p.day).dayOfWeek(), QLocale::ShortFormat).toStdString();
            break;
        case FormatPart::Day2:
            two(out, p.day);
            break;
        case FormatPart::Day:
            appendIntegerText(out, p.day);
            break;
        case FormatPart::Hour2:
            two(out, p.hour);
            break;
        case FormatPart::Hour:
            appendIntegerText(out, p.hour);
            break;
        case FormatPart::Minute2:
            two(out, p.minute);
            break;
        case FormatPart::Minute:
            appendIntegerText(out, p.minute);
            break;
        case FormatPart::Second2:
            two(out, p.second);
            break;
        case FormatPart::Second:
            appendIntegerText(out, p.second);
            break;
        case FormatPart::AmPm: {
            const bool pm = p.hour >= 12;
            const bool upper = part.literal[0] == 'A';
            out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
            break;
        }
        }
    }
}

// "0", "0.00", "#,##0.00", "0.0%" and the like, rounding halves away from zero as Format does.
std::string formatNumber(double v, const std::string& pattern) {
    QString f = QString::fromStdString(pattern);
    const QString n = f.toLower();
    if (n == QLatin1String("general number")) return vb::CStr(v).toStdString();
    if (n == QLatin1String("fixed"))
        f = QStringLiteral("0.00");
    else if (n == QLatin1String("standard") || n == QLatin1String("currency"))
        f = QStringLiteral("#,##0.00");
    else if (n == QLatin1String("percent"))
        f = QStringLiteral("0.00%");
    const int firstCode = int(f.indexOf(QRegularExpression(QStringLiteral("[0#.,]"))));
    if (firstCode < 0) return f.toStdString();
    int lastCode = firstCode;
    for (int i = firstCode; i < f.size(); ++i)
        if (QStringLiteral("0#.,").contains(f[i])) lastCode = i;
    const QString prefix = f.left(firstCode), suffix = f.mid(lastCode + 1);
    const QString code = f.mid(firstCode, lastCode - firstCode + 1);
    if (suffix.contains(QLatin1Char('%')) || prefix.contains(QLatin1Char('%'))) v *= 100.0;
    const int dot = int(code.indexOf(QLatin1Char('.')));
    const QString intPart = dot < 0 ? code : code.left(dot);
    const QString decPart = dot < 0 ? QString() : code.mid(dot + 1);
    const int maxDec = int(decPart.count(QLatin1Char('0')) + decPart.count(QLatin1Char('#')));
    const int minDec = int(decPart.count(QLatin1Char('0')));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const bool group = intPart.contains(QLatin1Char(','));
    const double scale = std::pow(10.0, maxDec);
    const double rounded = std::round(std::fabs(v) * scale) / scale; // halves away from zero
    QString digits = QString::number(rounded, 'f', maxDec);
    QString whole = digits, frac;
    if (maxDec > 0) {
        whole = digits.section(QLatin1Char('.'), 0, 0);
        frac = digits.section(QLatin1Char('.'), 1);
        while (frac.size() > minDec && frac.endsWith(QLatin1Char('0')))
            frac.chop(1);
    }
    if (whole == QLatin1String("0") && minInt == 0) whole.clear();
    while (whole.size() < minInt)
        whole.prepend(QLatin1Char('0'));
    if (group)
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char(','));
    QString out = whole;
    if (!frac.isEmpty() || (dot >= 0 && minDec > 0)) out += QLatin1Char('.') + frac;
    const bool negative = v < 0 && rounded != 0.0;
    const QString result = prefix + (negative ? QStringLiteral("-") : QString()) + out + suffix;
    return result.toStdString();
}

void jetFormat(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    Context& c = context(ctx);
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        c.out.clear();
        appendValue(c.out, argv[0]);
        resultText(ctx, c.out);
        return;
    }
    const std::string_view pattern = textOf(argv[1]);
    DateFormat local;
    const DateFormat* df = static_cast<const DateFormat*>(sqlite3_get_auxdata(ctx, 1));
    if (!df || df->source != pattern) {
        local = compileFormat(pattern);
        sqlite3_set_auxdata(ctx, 1, new DateFormat(local), freeFormat);
        df = &local;
    }
    std::string& out = c.out;
    out.clear();
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
        const std::string_view t = textOf(argv[0]);
        DateParts p;
        bool date = parseStoredDate(t.data(), int(t.size()), p);
        if (!date && df->isDate) {
            const QDateTime dt = parseDateText(QString::fromUtf8(t.data(), qsizetype(t.size())));
            date = dt.isValid();
            if (date)
                p = {dt.date().year(), dt.date().month(),  dt.date().day(),
                     dt.time().hour(), dt.time().minute(), dt.time().second()};
        }
        if (!date || !df->isDate) {
            // Text that is no date, or a format that is no date format: numbers format, text stays.
            const int numeric = sqlite3_value_numeric_type(argv[0]);
            if (!df->isDate && (numeric == SQLITE_INTEGER || numeric == SQLITE_FLOAT))
                out = formatNumber(sqlite3_value_double(argv[0]), df->source);
            else
                out.assign(t.data(), t.size());
            resultText(ctx, out);
            return;
        }
        formatDate(out, *df, p);
        resultText(ctx, out);
        return;
    }
    const double v = sqlite3_value_double(argv[0]);
    if (df->isDate) {
        const QDateTime dt = fromSerial(v);
        const DateParts p{dt.date().year(), dt.date().month(),  dt.date().day(),
                          dt.time().hour(), dt.time().minute(), dt.time().second()};
        formatDate(out, *df, p);
    } else {
        out = formatNumber(v, df->source);
    }
    resultText(ctx, out);
}

int collate(void* arg, int na, const void* a, int nb, const void* b) {
    return static_cast<Context*>(arg)->collation.compare({static_cast<const char*>(a), size_t(na)},
                                                         {static_cast<const char*>(b), size_t(nb)});
}

void destroyContext(void* p) {
    delete static_cast<Context*>(p);
}

} // namespace

int collationFingerprint() {
    // The order of a fixed sample of punctuation, digits, letters of both cases, accented
    // letters and Chinese characters spread over the common range.
    std::vector<std::string> sample;
    auto add = [&](char32_t c) { sample.push_back(QString::fromUcs4(&c, 1).toStdString()); };
    for (char32_t c = 0x20; c < 0x7F; ++c)
        add(c);
    for (char32_t c = 0xC0; c <= 0x17F; c += 3)
        add(c);
    for (char32_t c = 0x4E00; c <= 0x9FA5; c += 61)
        add(c);
    for (char32_t c = 0xFF01; c <= 0xFF5E; c += 7)
        add(c);
    PinyinCollation collation;
    std::stable_sort(sample.begin(), sample.end(),
                     [&](const std::string& a, const std::string& b) { return collation.compare(a, b) < 0; });
    std::uint32_t hash = 2166136261u; // FNV-1a over the sorted sample
    for (size_t i = 0; i < sample.size(); ++i) {
        const bool tie = i > 0 && collation.compare(sample[i - 1], sample[i]) == 0;
        for (unsigned char c : sample[i] + (tie ? "=" : "<"))
            hash = (hash ^ c) * 16777619u;
    }
    return int(hash & 0x7FFFFFFF) | 1; // never 0, the value of a file that records nothing
}

bool keepIndexesInOrder(sqlite3* db) {
    static const int fingerprint = collationFingerprint();
    sqlite3_stmt* st = nullptr;
    int recorded = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        recorded = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    if (recorded == fingerprint) return true;
    const std::string sql = (recorded ? "REINDEX PINYIN; " : "") + std::string("PRAGMA user_version=") +
                            std::to_string(fingerprint);
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

void registerFunctions(sqlite3* db) {
    auto* ctx = new Context;
    // The collation owns the context; the functions borrow it.
    sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, ctx, collate, destroyContext);
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
        bool deterministic;
    };
    const Fn fns[] = {
        {"jet_cat", -1, jetCat, true},          {"jet_str", 1, jetStr, true},
        {"jet_datetext", 1, jetDateText, true}, {"jet_booltext", 1, jetBoolText, true},
        {"jet_instr", 2, jetInstr, true},       {"jet_instr", 3, jetInstr, true},
        {"jet_instr", 4, jetInstr, true},       {"jet_div", 2, jetDiv, true},
        {"jet_intdiv", 2, jetIntDiv, true},     {"jet_mod", 2, jetMod, true},
        {"jet_pow", 2, jetPow, true},           {"jet_round", 2, jetRound, true},
        {"jet_format", 2, jetFormat, true},     {"jet_isodate", 1, jetIsoDate, true},
        {"jet_dateadd", 2, jetDateAdd, true},   {"jet_bool", 1, jetBool, true},
        {"jet_clng", 1, jetClng, true},         {"jet_cdbl", 1, jetCdbl, true},
        {"jet_val", 1, jetVal, true},           {"jet_int", 1, jetInt, true},
        {"jet_fix", 1, jetFix, true},           {"jet_right", 2, jetRight, true},
        {"jet_like", 2, jetLike, true},
    };
    for (const Fn& f : fns)
        sqlite3_create_function_v2(
            db, f.name, f.args, SQLITE_UTF8 | SQLITE_INNOCUOUS | (f.deterministic ? SQLITE_DETERMINISTIC : 0),
            ctx, f.fn, nullptr, nullptr, nullptr);
}

} // namespace jet
