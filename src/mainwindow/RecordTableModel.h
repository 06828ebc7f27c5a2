#pragma once
// A list view's rows: the records of its last load, shown one row each. Column 0 shows the
// 1-based row number; the other cells are built from the record only when the view asks,
// so a load of a hundred thousand rows costs its records and nothing per row in the view.
#include "core/QueryResult.h"
#include "core/Vb.h"
#include "mainwindow/ListViews.h"
#include "ui/ListColumn.h"

#include <QAbstractTableModel>
#include <optional>
#include <utility>
#include <vector>

// Rows kept in blocks of a few thousand: a list growing to a hundred thousand rows never moves
// the rows it holds into fresh memory, and a clear keeps the blocks for the next load.
template <class Record> class RecordBlocks {
public:
    static constexpr size_t kBlock = 4096;
    size_t size() const { return size_; }
    const Record& operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
    Record& back() { return blocks_[(size_ - 1) / kBlock].back(); }
    void push_back(Record&& r) {
        if (size_ == blocks_.size() * kBlock) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlock);
        }
        blocks_[size_ / kBlock].push_back(std::move(r));
        ++size_;
    }
    void clear() {
        for (auto& b : blocks_)
            b.clear();
        size_ = 0;
    }

private:
    std::vector<std::vector<Record>> blocks_;
    size_t size_ = 0;
};

template <class Record> class RecordTableModel : public QAbstractTableModel {
public:
    RecordTableModel(int tab, QObject* parent) : QAbstractTableModel(parent), tab_(tab) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(records_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(listviews::columns(tab_).size());
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
        const Record& r = records_[size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return index.column() == 0 ? QString::number(index.row() + 1) : cellText(r, index.column());
        case Qt::TextAlignmentRole:
            if (listviews::columns(tab_)[size_t(index.column())].rightAligned)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        case listroles::KeyRole:
            return QString(QStringLiteral("ID") + QString::number(r.ID));
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
        const listviews::Column& c = listviews::columns(tab_)[size_t(section)];
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

    int tab() const { return tab_; }
    const std::vector<Record>& records() const { return records_; }
    // A copy of the record shown in that row (0-based), for a form opened for it.
    std::optional<Record> record(int row) const {
        if (row < 0 || row >= rowCount()) return std::nullopt;
        return records_[size_t(row)];
    }
    // The row showing the record with that ID, or -1.
    int rowOf(qlonglong id) const {
        for (size_t i = 0; i < records_.size(); ++i)
            if (records_[i].ID == id) return int(i);
        return -1;
    }
    // The sum of the view's money column over the loaded rows (0 where the view has none).
    double total() const { return total_; }

    void clear() {
        rebuild([](RecordBlocks<Record>&) { return 0.0; });
    }

    // The cell text of a column other than the row number.
    virtual QString cellText(const Record& record, int column) const = 0;

protected:
    // A load fills the rows in place: a search after a search reuses the memory of the last one
    // instead of touching a new hundred megabytes. If reading fails halfway, the list is left
    // empty, never half loaded.
    template <class Read> void rebuild(Read read) {
        beginResetModel();
        records_.clear();
        try {
            total_ = read(records_);
        } catch (...) {
            records_.clear();
            total_ = 0;
            endResetModel();
            throw;
        }
        endResetModel();
    }

    // Sales and purchases read the same columns but for their last two labels; the total is
    // the amount column's.
    void loadMovements(RowSource& in, const char* label1, const char* label2) {
        const int id = in.columnIndex("ID"), tzid = in.columnIndex("TZID"), rq = in.columnIndex("RQ"),
                  sl = in.columnIndex("SL"), zje = in.columnIndex("ZJE"), gzje = in.columnIndex("GZJE"),
                  jxid = in.columnIndex("JXID"), khxqid = in.columnIndex("KHXQID"), bz = in.columnIndex("BZ"),
                  spmc = in.columnIndex("SPMC"), first = in.columnIndex(QString::fromLatin1(label1)),
                  second = in.columnIndex(QString::fromLatin1(label2));
        rebuild([&](RecordBlocks<Record>& rows) {
            double total = 0;
            while (in.next()) {
                rows.push_back({in.id(id), in.id(tzid), in.dateText(rq), in.number(sl), in.number(zje),
                                in.number(gzje), in.id(jxid), in.id(khxqid), in.text(bz), in.text(spmc),
                                in.text(first), in.text(second)});
                total += rows.back().ZJE;
            }
            return total;
        });
    }

    // The cells of a movement list: date, goods, quantity, amount (with what is still owed,
    // "..." when hidden) and the note joined with the two labels.
    static QString movementCell(const Record& r, int column, bool showAmount, const QString& label1,
                                const QString& label2) {
        switch (column) {
        case 1:
            return r.RQ;
        case 2:
            return r.SPMC;
        case 3:
            return vb::CStr(r.SL);
        case 4: {
            const QString amount = showAmount ? vb::CStr(r.ZJE) : QStringLiteral("...");
            return r.GZJE > 0 ? amount + QLatin1Char('/') + vb::CStr(r.GZJE) : amount;
        }
        case 5:
            return r.BZ + QLatin1Char('/') + label1 + QLatin1Char('/') + label2;
        default:
            return {};
        }
    }

private:
    int tab_;
    RecordBlocks<Record> records_;
    double total_ = 0;
};
