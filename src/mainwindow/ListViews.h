#pragma once
// What the main window's five views show: tab captions, the first-view and search
// statements, and the status texts. No widgets here; the columns are the list models'.
#include "core/Options.h"

#include <QString>

namespace listviews {

enum Tab { Demands = 0, Suppliers = 1, Goods = 2, Sales = 3, Purchases = 4 };
inline constexpr int kTabCount = 5;

QString tabCaption(int tab);

// The first view of a tab: at most 200 rows.
QString defaultStatement(int tab);
// The view's statement without a row limit, and the joined text a keyword search looks in.
QString baseStatement(int tab);
QString searchFields(int tab);
// The statement of a keyword search on the tab.
QString searchStatement(int tab, const QString& keywords);

// The status bar's text after a load; `total` is the view's money total where it has one.
QString statusText(int tab, double total, const Options& options);
// The status bar's text while a search is still finding rows.
QString runningText(int tab, int rows);

// Goods below their minimum stock (a minimum is set and the stock is under it): every one of
// them in the ledger's order, and their number in the whole ledger.
QString lowStockStatement();
QString lowStockCountStatement();
// The status bar's count of them: "低于最小库存：n 种".
QString lowStockText(qlonglong count);

} // namespace listviews
