#pragma once
#include <QHash>
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

// Rows read one at a time, the way a list loads them: a statement's rows straight from the
// data file (a hundred thousand rows never become a table of QVariants), or a result already
// read. A column index of -1 (a column the statement lacks) reads as Null.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int columnIndex(const QString& name) const = 0;
    // Moves to the next row; false after the last. Throws DbError when the data file fails.
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;

    // The value as vb::Text, vb::Number and a Boolean would give it.
    virtual QString text(int column) const;
    virtual double number(int column) const;
    qlonglong id(int column) const { return qlonglong(number(column)); }
    bool flag(int column) const { return value(column).toBool(); }
    // A date's "yyyy-m-d" text. Many movements share a date: each date's text is shared.
    virtual QString dateText(int column) const;

protected:
    // The text of a day (a day number of the caller's choosing), made once per source.
    template <class Make> QString sharedDate(qint64 day, Make make) const {
        auto it = dates_.constFind(day);
        if (it == dates_.cend()) it = dates_.insert(day, make());
        return *it;
    }

private:
    mutable QHash<qint64, QString> dates_;
};

// The rows of a QueryResult as a RowSource.
class ResultRows : public RowSource {
public:
    explicit ResultRows(const QueryResult& result) : result_(result) {}
    int columnIndex(const QString& name) const override { return result_.columnIndex(name); }
    bool next() override { return ++row_ < result_.rowCount(); }
    QVariant value(int column) const override;

private:
    const QueryResult& result_;
    int row_ = -1;
};
