#pragma once
// Purchases, sales, profit and stock value month by month, for every month with at least one
// movement record. Profit up to a month end = stock value then + sales − purchases up to then;
// the stock value comes from replaying every goods item's movements with a moving-average
// unit cost. No windows here.
#include "stats/StatsColumn.h"

#include <QStringList>
#include <optional>
#include <vector>

class Progress;
struct Options;
class Session;

struct MonthRow {
    QString RQ1;    // "yyyymm"
    double JH = 0;  // purchases of the month, unrounded
    double XS = 0;  // sales of the month, unrounded
    double YL = 0;  // profit of the month
    double KC = 0;  // stock value at the month end
    double ZYL = 0; // profit up to the month end
};

class MonthlyStatus {
public:
    static const std::vector<StatsColumn>& columns();
    // The months in ascending order; none when the operator stopped the computation.
    // Throws DbError.
    static std::optional<std::vector<MonthRow>> compute(Session& session, Progress* progress = nullptr);
    // The list row's texts, the row number (from 1) first; the purchases and the stock value
    // read "..." while the options hide purchase amounts and total cost.
    static QStringList texts(const MonthRow& row, int number, const Options& shown);
    // Every row's texts, numbered from 1.
    static std::vector<QStringList> texts(const std::vector<MonthRow>& rows, const Options& shown);
};
