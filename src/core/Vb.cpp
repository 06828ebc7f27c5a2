#include "core/Vb.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace vb {

double Val(const QString& text) {
    const QString t = text.trimmed();
    // Longest prefix that looks like a decimal number with an optional exponent.
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const auto m = re.match(t);
    if (!m.hasMatch()) return 0.0;
    // from_chars ignores the process locale: "." is the decimal mark whatever the desktop says.
    const QByteArray bytes = m.captured(0).toLatin1();
    const char* first = bytes.constData() + (bytes.startsWith('+') ? 1 : 0);
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(first, bytes.constData() + bytes.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Too small underflows to 0; too large is infinite, which callers refuse.
        if (m.captured(2).contains(QLatin1Char('-'))) return 0.0;
        return bytes.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
    }
    return v;
}

bool IsFiniteNumber(const QString& text) {
    return std::isfinite(Val(text));
}

static QString trimMantissa(QString m) {
    if (m.contains(QLatin1Char('.'))) {
        while (m.endsWith(QLatin1Char('0')))
            m.chop(1);
        if (m.endsWith(QLatin1Char('.'))) m.chop(1);
    }
    return m;
}

QString CStr(double value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    if (value == 0.0) return QStringLiteral("0");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    // buf: "-d.dddddddddddddde+XX"
    QString s = QString::fromLatin1(buf, int(res.ptr - buf));
    const int ePos = s.indexOf(QLatin1Char('e'));
    const int exponent = s.mid(ePos + 1).toInt();
    if (exponent >= 15 || exponent < -4) {
        QString mant = trimMantissa(s.left(ePos));
        const QString sign = exponent < 0 ? QStringLiteral("-") : QStringLiteral("+");
        return mant + QLatin1Char('E') + sign +
               QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    }
    const int decimals = std::max(0, 14 - exponent);
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    QString fixed = trimMantissa(QString::fromLatin1(buf, int(res.ptr - buf)));
    if (fixed == QLatin1String("-0")) fixed = QStringLiteral("0");
    return fixed;
}

QString CStr(qlonglong value) {
    return QString::number(value);
}

double Round(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (std::fabs(scaled) >= 1e15) return value;
    // The scaled double as it is: 2.675 scales to exactly 267.5, a half, but 32.675 to
    // 3267.4999999999995, which is below one.
    double whole = std::floor(scaled);
    const double frac = scaled - whole;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    const double result = whole / scale;
    return result == 0.0 ? 0.0 : result; // no "-0"
}

QString DateText(const QDate& date) {
    return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString DateTimeText(const QDateTime& dt) {
    QString s = DateText(dt.date());
    const QTime t = dt.time();
    if (t.isValid() && (t.hour() || t.minute() || t.second()))
        s += QStringLiteral(" %1:%2:%3")
                 .arg(t.hour())
                 .arg(t.minute(), 2, 10, QLatin1Char('0'))
                 .arg(t.second(), 2, 10, QLatin1Char('0'));
    return s;
}

QDateTime ParseDateTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return {};
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid()) return {};
    QTime t(0, 0, 0);
    if (!m.captured(4).isEmpty()) {
        t = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (!t.isValid()) return {};
    }
    return QDateTime(d, t);
}

QString Text(const QVariant& value) {
    if (value.isNull() || !value.isValid()) return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return CStr(value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::Short:
        return CStr(value.toLongLong());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return DateText(value.toDate());
    case QMetaType::QDateTime:
        return DateTimeText(value.toDateTime());
    default:
        return value.toString();
    }
}

double Number(const QVariant& value) {
    if (value.isNull() || !value.isValid()) return 0.0;
    switch (value.typeId()) {
    case QMetaType::QString:
        return Val(value.toString());
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0;
    default:
        return value.toDouble();
    }
}

} // namespace vb
