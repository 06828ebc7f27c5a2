#pragma once
#include <QString>

class Report;

// Writes the report as CSV: UTF-8 with a byte order mark (so spreadsheet programs read the
// Chinese), lines ended by CR LF: the title on a line of its own when there is one, the
// headings, the rows, the totals. Returns an empty text, or why the file could not be written.
QString writeCsv(const Report& report, const QString& path);
