#pragma once
// What every list's model shares: column 0 shows the 1-based row number, the other cells are
// built from the row's record only when the view asks, each item's key is "ID" & the record's
// ID, and the headings give their column keys and widths. The model keeps every row's ID.
//
// A long list streams: its IDs (and the sum of its money column) are read beside the window
// and shown as they are found, and a row's record is read from the data file when the row is
// shown (RecordTableModel). A new load, a clear or a cancel ends a load still running at once.
#include "ui/ListColumn.h"

#include <QAbstractTableModel>
#include <memory>
#include <vector>

class KeyScan;
class QTimer;
class Session;
struct Options;

class ListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `moneyColumn` names the statement column whose sum is the list's total, or is empty.
    ListTableModel(std::vector<ListColumn> columns, QString moneyColumn, QObject* parent);
    ~ListTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The ID of the record shown in that row (0-based); the row must exist.
    qlonglong id(int row) const { return ids_[size_t(row)]; }
    // The first row from `from` on showing the record with that ID, or -1.
    int rowOf(qlonglong id, int from = 0) const;
    // The sum of the money column over the rows (0 where the list has none, or while loading).
    double total() const { return total_; }

    // The display switches that hide money; the goods and purchase lists follow them.
    virtual void applyOptions(const Options&) {}

    // Shows the rows of `statement`, which has an ID column, as they are found; a row's
    // record is read from `recordStatement` (a statement with every row of the view) by its
    // ID. Waits a moment for the end, so a small search shows complete at once; after that
    // the first `firstRows` rows show as soon as they are found. Throws DbError when the
    // statement is refused.
    void stream(Session& session, const QString& statement, const QString& recordStatement, int firstRows);
    bool loading() const { return scan_ != nullptr; }
    // Waits for the rest of a running load, without the event loop (printing or exporting a
    // search still running, a command without a window). Throws DbError when the load fails
    // (the list is then left empty, as loadFailed says).
    void finishLoading();
    // Ends a running load; the rows found so far stay.
    void cancel();
    void clear();

Q_SIGNALS:
    void rowsFound();                    // more rows of a running load
    void loadFinished();                 // every row is in, and the total
    void loadFailed(const QString& why); // the list is left empty
    void loadStopped();                  // a write stopped the reading: load again

protected:
    virtual QString cellText(int row, int column) const = 0;
    // Forget the records held or read, inside a reset; after a stream, records come from `from`
    // (a null session: the records are held).
    virtual void forgetRecords(Session* from, const QString& recordStatement) = 0;

    std::vector<qlonglong> ids_;
    double total_ = 0;

private:
    void poll();

    std::vector<ListColumn> columns_;
    QString moneyColumn_;
    std::unique_ptr<KeyScan> scan_;
    int firstRows_ = 1;
    QString failure_; // why the last load failed
    QTimer* timer_;
};
