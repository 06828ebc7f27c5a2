#pragma once
// One column of a list: its heading, its key (the column's name in the list's layout), its
// width in twips (0 for the last column, which takes the rest) and its alignment.
#include <QString>
#include <Qt>

struct ListColumn {
    QString header;
    QString key;
    int twips = 0;
    bool rightAligned = false;
};

namespace listroles {
// An item's key ("ID" & the record's ID), a heading's column key, and a column's width in twips.
inline constexpr int KeyRole = Qt::UserRole + 1;
inline constexpr int ColumnKeyRole = Qt::UserRole + 2;
inline constexpr int TwipsRole = Qt::UserRole + 3;
} // namespace listroles
