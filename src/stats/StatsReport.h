#pragma once
// A statistics list as a report for the printer, PDF, xlsx and CSV: the window's title, its
// columns narrowed in proportion to fit A4, its rows and, for the goods list, the total.
#include "report/Report.h"
#include "stats/StatsColumn.h"

#include <vector>

// `rows` hold every cell the list shows, the row number first; `total` (may be empty) goes
// in a last row, under the second column.
Report StatsReport(const QString& title, const std::vector<StatsColumn>& columns,
                   std::vector<QStringList> rows, const QString& total);
