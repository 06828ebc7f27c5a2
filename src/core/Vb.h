#pragma once
// Values as the operator types and sees them: numbers read from text, the general
// number form, rounding of money, and dates as "yyyy-m-d".
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vb {

// The number at the start of the text ("12kg" -> 12, "abc" -> 0). May be inf for "1e999";
// callers that store a value must check std::isfinite.
double Val(const QString& text);

// True when the text reads as a finite number (Val of it is usable for storing).
bool IsFiniteNumber(const QString& text);

// General number form: up to 15 significant digits, no trailing zeros, "0.5" not ".5",
// E notation from 1E+15 up and below 1E-4 ("1E+15", "1E-05").
QString CStr(double value);
QString CStr(qlonglong value);

// Rounds to n decimals: scaled by 10^n in double arithmetic, a scaled value that is exactly
// a half going to the even neighbour. Serves the forms and SQL round alike.
double Round(double value, int decimals = 2);

// "yyyy-m-d", and " H:mm:ss" when the time is not midnight.
QString DateText(const QDate& date);
QString DateTimeText(const QDateTime& dt);

// Parses "yyyy-m-d" / "yyyy-mm-dd" optionally followed by a time; invalid when it is none.
QDateTime ParseDateTime(const QString& text);

// The text of a database value as VB's CStr would give it: Null -> "", numbers in the
// general form, dates as DateTimeText, Booleans "True"/"False".
QString Text(const QVariant& value);

// A database value as a number (Null or text that is not a number -> 0).
double Number(const QVariant& value);

} // namespace vb
