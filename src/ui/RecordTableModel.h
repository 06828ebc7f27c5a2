#pragma once
// A list's rows as records. A list loaded at once holds every row's record; a streamed list
// (ListTableModel::stream) reads the records of the rows shown from the data file by their
// IDs, a page at a time, and keeps the pages used last, so its memory does not grow with the
// number of rows. Either way a row's record is what the view's statement gives for it.
#include "core/RecordReader.h"
#include "core/Session.h"
#include "ui/ListTableModel.h"
#include "ui/RecordBlocks.h"

#include <QHash>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

template <class Record> class RecordTableModel : public ListTableModel {
public:
    using Read = Record (RecordReader::*)() const;

    // A list that streams names how a row becomes a record, and its money column.
    RecordTableModel(std::vector<ListColumn> columns, QObject* parent, Read read = nullptr,
                     QString moneyColumn = {})
        : ListTableModel(std::move(columns), std::move(moneyColumn), parent), read_(read) {}

    // The record shown in that row (0-based); the row must exist. For a streamed list the
    // reference holds until the next record is asked for.
    const Record& record(int row) const {
        if (!session_) return held_[size_t(row)];
        const int page = row / kPage;
        auto it = pages_.find(page);
        // The last page read while the rows were still coming in may lack the row.
        if (it != pages_.end() && it->second.records.size() <= size_t(row % kPage)) it = pages_.erase(it);
        if (it == pages_.end()) {
            Page p;
            if (!fetch(page * kPage, p.records)) {
                // The data file failed: the row shows empty until it is asked for again.
                missing_ = Record{};
                missing_.ID = id(row);
                return missing_;
            }
            if (pages_.size() >= kPages)
                pages_.erase(std::min_element(pages_.begin(), pages_.end(), [](const auto& a, const auto& b) {
                    return a.second.used < b.second.used;
                }));
            it = pages_.emplace(page, std::move(p)).first;
        }
        it->second.used = ++tick_;
        return it->second.records[size_t(row % kPage)];
    }
    // A copy of the record shown in that row, for a form opened for it; none for a row not shown
    // or not read.
    std::optional<Record> copyOf(int row) const {
        if (row < 0 || row >= rowCount()) return std::nullopt;
        const Record& r = record(row);
        if (&r == &missing_) return std::nullopt;
        return r;
    }
    // Every row in list order: its record and the texts its cells show, the row number first.
    // Printing and export read the list through this alone. A streamed list reads the records
    // a page at a time, so no more than a few pages of them are held whatever the number of rows.
    template <class Visit> void forEachRow(Visit visit) const {
        QStringList cells;
        for (int row = 0; row < rowCount(); ++row) {
            if (&record(row) == &missing_) throw DbError(fetchError_);
            cells.clear();
            cells << QString::number(row + 1);
            for (int column = 1; column < columnCount(); ++column)
                cells << cellText(row, column);
            visit(record(row), std::as_const(cells));
        }
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
    // A load fills the rows in place: a load after a load reuses the memory of the last one.
    // `read` adds the rows and returns their total. If reading fails halfway, the list is left
    // empty, never half loaded.
    template <class ReadRows> void rebuild(ReadRows read) {
        cancel();
        beginResetModel();
        ids_.clear();
        forgetRecords(nullptr, {});
        try {
            total_ = read(held_);
        } catch (...) {
            held_.clear();
            total_ = 0;
            endResetModel();
            throw;
        }
        ids_.reserve(held_.size());
        for (size_t i = 0; i < held_.size(); ++i)
            ids_.push_back(held_[i].ID);
        rowsChanged();
        endResetModel();
    }

    // Called inside the reset, once the rows of a load (or none) are in place.
    virtual void rowsChanged() {}

    void forgetRecords(Session* from, const QString& recordStatement) override {
        held_.clear();
        pages_.clear();
        session_ = from;
        recordStatement_ = recordStatement;
        rowsChanged();
    }

private:
    static constexpr int kPage = 128;
    static constexpr size_t kPages = 64;
    struct Page {
        std::vector<Record> records;
        quint64 used = 0;
    };

    // The records of the rows from `first` on, a page of them, in row order. A row whose
    // record is gone from the data file shows empty. False when the data file fails.
    bool fetch(int first, std::vector<Record>& out) const {
        const int end = std::min(rowCount(), first + kPage);
        const std::vector<qlonglong> ids(ids_.begin() + first, ids_.begin() + end);
        QHash<qlonglong, Record> byId;
        try {
            session_->readByIds(recordStatement_, ids, [&](RowSource& in) {
                const RecordReader reader(in);
                while (in.next()) {
                    Record r = (reader.*read_)();
                    byId.insert(r.ID, std::move(r));
                }
            });
        } catch (const DbError& e) {
            fetchError_ = e.text;
            return false;
        }
        out.clear();
        out.reserve(ids.size());
        for (qlonglong id : ids) {
            out.push_back(byId.value(id));
            out.back().ID = id;
        }
        return true;
    }

    Read read_;
    RecordBlocks<Record> held_;
    Session* session_ = nullptr; // set while the records come from the data file
    QString recordStatement_;
    mutable std::unordered_map<int, Page> pages_;
    mutable quint64 tick_ = 0;
    mutable Record missing_;
    mutable QString fetchError_;
};
