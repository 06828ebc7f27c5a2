#pragma once
// A list's rows: the records of its last load, shown one row each. Column 0 shows the 1-based
// row number; the other cells are built from the record only when the view asks, so a load
// of a hundred thousand rows costs its records and nothing per row in the view. Each item's
// key is "ID" & the record's ID; the headings give their column keys and widths.
#include "ui/ListColumn.h"
#include "ui/RecordBlocks.h"

#include <QAbstractTableModel>
#include <optional>
#include <utility>
#include <vector>

template <class Record> class RecordTableModel : public QAbstractTableModel {
public:
    RecordTableModel(std::vector<ListColumn> columns, QObject* parent)
        : QAbstractTableModel(parent), columns_(std::move(columns)) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(records_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(columns_.size());
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return index.column() == 0 ? QString::number(index.row() + 1)
                                       : cellText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return int((columns_[size_t(index.column())].rightAligned ? Qt::AlignRight : Qt::AlignLeft) |
                       Qt::AlignVCenter);
        case listroles::KeyRole:
            return QString(QStringLiteral("ID") + QString::number(record(index.row()).ID));
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
        const ListColumn& c = columns_[size_t(section)];
        switch (role) {
        case Qt::DisplayRole:
            return c.header;
        case listroles::ColumnKeyRole:
            return c.key;
        case listroles::TwipsRole:
            return c.twips;
        case Qt::TextAlignmentRole:
            return int((c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        default:
            return {};
        }
    }

    // The record shown in that row (0-based); the row must exist.
    const Record& record(int row) const { return records_[size_t(row)]; }
    // A copy of the record shown in that row, for a form opened for it; none for a row not shown.
    std::optional<Record> copyOf(int row) const {
        if (row < 0 || row >= rowCount()) return std::nullopt;
        return records_[size_t(row)];
    }
    // The row showing the record with that ID, or -1.
    int rowOf(qlonglong id) const {
        for (size_t i = 0; i < records_.size(); ++i)
            if (records_[i].ID == id) return int(i);
        return -1;
    }
    // The sum of the list's money column over the loaded rows (0 where the list has none).
    double total() const { return total_; }

    // Every row in list order: its record and the texts its cells show, the row number first.
    // Printing and export read the list through this alone.
    template <class Visit> void forEachRow(Visit visit) const {
        QStringList cells;
        for (int row = 0; row < rowCount(); ++row) {
            cells.clear();
            cells << QString::number(row + 1);
            for (int column = 1; column < columnCount(); ++column)
                cells << cellText(row, column);
            visit(record(row), std::as_const(cells));
        }
    }

    void clear() {
        rebuild([](RecordBlocks<Record>&) { return 0.0; });
    }
    // Shows these rows instead of the last ones.
    void setRows(std::vector<Record> rows) {
        rebuild([&](RecordBlocks<Record>& to) {
            for (Record& r : rows)
                to.push_back(std::move(r));
            return 0.0;
        });
    }

protected:
    // The cell text of a column other than the row number.
    virtual QString cellText(int row, int column) const = 0;
    // Called inside the reset, once the new rows are in place.
    virtual void rowsChanged() {}

    // A load fills the rows in place: a search after a search reuses the memory of the last one
    // instead of touching a new hundred megabytes. `read` adds the rows and returns their total.
    // If reading fails halfway, the list is left empty, never half loaded.
    template <class Read> void rebuild(Read read) {
        beginResetModel();
        records_.clear();
        try {
            total_ = read(records_);
        } catch (...) {
            records_.clear();
            total_ = 0;
            rowsChanged();
            endResetModel();
            throw;
        }
        rowsChanged();
        endResetModel();
    }

private:
    std::vector<ListColumn> columns_;
    RecordBlocks<Record> records_;
    double total_ = 0;
};
