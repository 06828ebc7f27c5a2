#pragma once
// Values as Jet shows them, worked on UTF-8 bytes: the SQL functions run these for every row,
// so the common cases avoid QString.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <string>

namespace jet {

// The ISO text a Date column stores: "YYYY-MM-DD", or "YYYY-MM-DD HH:MM:SS" when the time is not midnight.
QString isoText(const QDateTime& dt);

// Reads "yyyy-m-d" / "yyyy/m/d" with an optional time; with usOrder also Jet's #m/d/yyyy#.
QDateTime parseDateText(const QString& text, bool usOrder = false);

// Appends the general number form of VB's CStr ("12", "0.5", "1E+15").
void appendNumberText(std::string& out, double value);
void appendIntegerText(std::string& out, std::int64_t value);

// Appends "yyyy-m-d" (and " H:mm:ss" unless midnight) for a stored date. Text that is not a
// date is appended unchanged.
void appendDateText(std::string& out, const char* text, int length);

// The parts of a stored date; false when the text is not one.
struct DateParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
bool parseStoredDate(const char* text, int length, DateParts& parts);

// Letter case folded for comparing without regard to it: ASCII, Latin-1, Latin Extended-A,
// Greek, Cyrillic and full-width Latin letters. Folding keeps every character's byte length.
void foldCase(const char* text, int length, std::string& out);
// True when no character of the text takes part in folding, so that a search for it can
// run on unfolded text.
bool isCaseless(const char* text, int length);

// 1-based character position of needle in haystack, comparing without regard to letter case;
// 0 when not found or when haystack is empty; 1 for an empty needle.
std::int64_t findText(const char* haystack, int hayLength, const char* needle, int needleLength,
                      bool needleCaseless, const std::string& foldedNeedle, std::string& scratch);

} // namespace jet
