#pragma once
// What the main window's five views show: tab captions, columns, the first-view and search
// statements, and the status texts. No widgets here.
#include "core/Options.h"

#include <QString>
#include <Qt>
#include <vector>

namespace listviews {

enum Tab { Demands = 0, Suppliers = 1, Goods = 2, Sales = 3, Purchases = 4 };
inline constexpr int kTabCount = 5;

struct Column {
    QString header;
    QString key;
    int twips; // width; 0 for the last column, which takes the rest of the list
    bool rightAligned;
};

QString tabCaption(int tab);
const std::vector<Column>& columns(int tab);
// The summed widths of all columns but the last.
int fixedTwips(int tab);
// The last column takes what the others leave of the list, but never less than 1000 twips.
int lastColumnTwips(int fixedTwips, int listWidthTwips);

// The first view of a tab: at most 200 rows.
QString defaultStatement(int tab);
// The view's statement without a row limit, and the joined text a keyword search looks in.
QString baseStatement(int tab);
QString searchFields(int tab);
// The statement of a keyword search on the tab.
QString searchStatement(int tab, const QString& keywords);

// The status bar's text after a load; `total` is the view's money total where it has one.
QString statusText(int tab, double total, const Options& options);

} // namespace listviews
