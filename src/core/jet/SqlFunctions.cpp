// The SQL functions that give the translated statements Jet's meaning of values, numbers
// and texts (format() is in SqlFormat.cpp).
#include "core/jet/SqlFunctions.h"

#include "core/Vb.h"
#include "core/jet/ValueText.h"

#include <algorithm>
#include <cmath>
#include <sqlite3.h>

namespace jet {

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
    // Jet's date numbers count days from 1899-12-30, from 100-1-1 to 9999-12-31.
    if (!(serial >= -657434.0 && serial < 2958466.0)) return {};
    const double days = std::floor(serial);
    const qint64 secs = qint64(std::llround((serial - days) * 86400.0));
    return QDateTime(QDate(1899, 12, 30).addDays(qint64(days)), QTime(0, 0)).addSecs(secs);
}

void resultNoDate(sqlite3_context* ctx, double serial) {
    resultError(ctx, QStringLiteral("不是有效的日期：%1").arg(vb::CStr(serial)));
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

bool nullArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return true;
        }
    return false;
}

namespace {

// The searched-for text, folded once per statement when it is a constant.
struct Needle {
    std::string raw, folded;
    bool caseless = false;
};

void freeNeedle(void* p) {
    delete static_cast<Needle*>(p);
}

const QString kDivideByZero = QStringLiteral("除数为零");

// Integer division and Mod round their operands to whole numbers first, Longs as in Jet: a
// larger operand overflows (converted as it is, 1E300 or -2^63 \ -1 would crash the program).
bool wholeOperands(sqlite3_context* ctx, sqlite3_value** argv, sqlite3_int64& a, sqlite3_int64& b) {
    const double x = vb::Round(sqlite3_value_double(argv[0]), 0);
    const double y = vb::Round(sqlite3_value_double(argv[1]), 0);
    for (double d : {x, y})
        if (!(d >= -2147483648.0 && d <= 2147483647.0)) {
            resultError(ctx, QStringLiteral("数值溢出"));
            return false;
        }
    a = sqlite3_int64(x);
    b = sqlite3_int64(y);
    if (b == 0) {
        resultError(ctx, kDivideByZero);
        return false;
    }
    return true;
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

} // namespace

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
    case SQLITE_FLOAT: {
        const QDateTime dt = fromSerial(sqlite3_value_double(argv[0]));
        if (dt.isValid())
            resultText(ctx, vb::DateTimeText(dt));
        else
            resultNoDate(ctx, sqlite3_value_double(argv[0]));
        return;
    }
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

void jetDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (nullArgs(ctx, argc, argv)) return;
    const double b = sqlite3_value_double(argv[1]);
    if (b == 0.0) {
        resultError(ctx, kDivideByZero);
        return;
    }
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) / b);
}

void jetIntDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_int64 a, b;
    if (nullArgs(ctx, argc, argv) || !wholeOperands(ctx, argv, a, b)) return;
    if (a / b > 2147483647) // -2147483648 \ -1
        resultError(ctx, QStringLiteral("数值溢出"));
    else
        sqlite3_result_int64(ctx, a / b);
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

} // namespace jet
