#pragma once
// The SQLite functions behind the translated statements: Jet's meaning where SQLite's own
// differs from it. They run once per row, so they work on UTF-8 bytes. The function table
// (Functions.h) names and registers them; this header is for the files that define them.
#include "core/jet/PinyinCollation.h"

#include <QDateTime>
#include <QString>
#include <string>
#include <string_view>

struct sqlite3_context;
struct sqlite3_value;

namespace jet {

// Per connection: the collation and the buffers the functions reuse.
struct Context {
    PinyinCollation collation;
    std::string out, scratch, haystack;
};

// ---- What every function body needs ------------------------------------------------------

Context& context(sqlite3_context* ctx);
void resultText(sqlite3_context* ctx, const std::string& s);
void resultText(sqlite3_context* ctx, const QString& s);
void resultError(sqlite3_context* ctx, const QString& message);
std::string_view textOf(sqlite3_value* v);
// The text of a value as CStr gives it; Null gives nothing.
void appendValue(std::string& out, sqlite3_value* v);
// A value as a text: the stored text itself, or the number written into the buffer.
std::string_view valueText(sqlite3_value* v, std::string& buffer);
// Jet's date numbers count days from 1899-12-30; invalid beyond its years 100 to 9999.
QDateTime fromSerial(double serial);
// The error of a number that is no date.
void resultNoDate(sqlite3_context* ctx, double serial);
// The date a value stands for; invalid when it is none.
QDateTime dateOf(sqlite3_value* v);
// True (and the result Null) when an argument is Null.
bool nullArgs(sqlite3_context* ctx, int argc, sqlite3_value** argv);

// ---- The functions -----------------------------------------------------------------------

void jetCat(sqlite3_context* ctx, int argc, sqlite3_value** argv);      // a & b & ...
void jetStr(sqlite3_context* ctx, int argc, sqlite3_value** argv);      // a number as CStr
void jetDateText(sqlite3_context* ctx, int argc, sqlite3_value** argv); // a date as the operator sees it
void jetBoolText(sqlite3_context* ctx, int argc, sqlite3_value** argv); // "True" / "False"
void jetInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetIntDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetMod(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetPow(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetRound(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetIsoDate(sqlite3_context* ctx, int argc, sqlite3_value** argv); // as a Date column stores it
void jetDateAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv); // date + days
void jetBool(sqlite3_context* ctx, int argc, sqlite3_value** argv);    // as a Boolean column stores it
void jetClng(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetCdbl(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetVal(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetInt(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetFix(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetRight(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetLike(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void jetFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv); // SqlFormat.cpp

} // namespace jet
