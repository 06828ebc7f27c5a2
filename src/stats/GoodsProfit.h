#pragma once
// Gross profit of every goods item: all its sales − all its purchases + the cost value of its
// current stock, with its first movement date, stock quantity and quantity sold. No windows.
#include "stats/StatsColumn.h"

#include <QStringList>
#include <optional>
#include <vector>

class Progress;
class Session;

struct GoodsProfitRow {
    qlonglong ID = 0;
    QString SP;       // MC/JC/XH
    QString RQ;       // first movement date "yyyy-m-d"; "" for an item without movements
    double ZKC = 0;   // stock quantity
    double ZCB = 0;   // cost value of the stock
    double SLout = 0; // quantity sold
    double YL = 0;    // gross profit
};

struct GoodsProfitList {
    // By first movement date, then ID; items without movements last, by ID.
    std::vector<GoodsProfitRow> rows;
    double total = 0; // of the rows' gross profits
};

class GoodsProfit {
public:
    static const std::vector<StatsColumn>& columns();
    // None when the operator stopped the computation. Throws DbError.
    static std::optional<GoodsProfitList> compute(Session& session, Progress* progress = nullptr);
    // The list row's texts, the row number (from 1) first.
    static QStringList texts(const GoodsProfitRow& row, int number);
    // Every row's texts, numbered from 1.
    static std::vector<QStringList> texts(const std::vector<GoodsProfitRow>& rows);
    // The status bar's text for the total.
    static QString totalText(double total);
};
