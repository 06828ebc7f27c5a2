#pragma once
#include <QString>

class Report;

// Writes the report as an Excel workbook of one sheet: the title in the first row when there
// is one, the headings in bold, the rows, the totals in bold. A Number column's texts that
// read as numbers are numbers, a Date column's dates are dates shown "yyyy-m-d"; every other
// text stays text. Returns an empty text, or why the file could not be written.
QString writeXlsx(const Report& report, const QString& path);
