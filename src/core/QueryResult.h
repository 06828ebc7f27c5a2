#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// The rows of one query, all read at once so the count is known.
// Values: Null (invalid QVariant), qlonglong, double, bool, QDate/QDateTime, QString.
class QueryResult {
public:
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;

    int rowCount() const { return int(rows.size()); }
    bool isEmpty() const { return rows.empty(); }
    // Column index by name, without regard to letter case; -1 when absent.
    int columnIndex(const QString& name) const {
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].compare(name, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }
    QVariant value(int row, int column) const { return rows.at(row).at(column); }
    QVariant value(int row, const QString& column) const {
        const int c = columnIndex(column);
        return c < 0 ? QVariant() : rows.at(row).at(c);
    }
};
