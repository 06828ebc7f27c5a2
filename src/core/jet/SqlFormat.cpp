// format(): VB's date formats, and the plain number formats.
#include "core/Vb.h"
#include "core/jet/SqlFunctions.h"
#include "core/jet/ValueText.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>
#include <vector>

namespace jet {

namespace {

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

} // namespace

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
        if (!dt.isValid()) {
            resultNoDate(ctx, v);
            return;
        }
        const DateParts p{dt.date().year(), dt.date().month(),  dt.date().day(),
                          dt.time().hour(), dt.time().minute(), dt.time().second()};
        formatDate(out, *df, p);
    } else {
        out = formatNumber(v, df->source);
    }
    resultText(ctx, out);
}

} // namespace jet
