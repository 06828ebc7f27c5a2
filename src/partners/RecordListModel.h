#pragma once
// The rows of a maintenance form's list: one record per row, the first column the 1-based
// row number, column headings fixed by the form.
#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace partners {

template <typename Record> class RecordListModel : public QAbstractTableModel {
public:
    explicit RecordListModel(QStringList headings, QObject* parent = nullptr)
        : QAbstractTableModel(parent), headings_(std::move(headings)) {}

    void setRows(std::vector<Record> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        rowsChanged();
        endResetModel();
    }
    const std::vector<Record>& rows() const { return rows_; }
    // `row` counts from 0.
    const Record& record(int row) const { return rows_.at(size_t(row)); }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(headings_.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < headings_.size())
            return headings_.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= int(rows_.size())) return {};
        if (role == Qt::DisplayRole) {
            if (index.column() == 0) return QString::number(index.row() + 1);
            return cell(index.row(), index.column());
        }
        if (role == Qt::ToolTipRole && index.column() > 0) return cell(index.row(), index.column());
        return {};
    }

protected:
    // The text of a column after the row number.
    virtual QString cell(int row, int column) const = 0;
    // Called inside the reset, after the rows were replaced.
    virtual void rowsChanged() {}

private:
    QStringList headings_;
    std::vector<Record> rows_;
};

} // namespace partners
