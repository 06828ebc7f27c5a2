#include "stats/StatsListModel.h"

namespace {

std::vector<ListColumn> listColumns(const std::vector<StatsColumn>& columns) {
    std::vector<ListColumn> out;
    for (const StatsColumn& c : columns)
        out.push_back({c.header, c.key, c.twips, (c.alignment & Qt::AlignRight) != 0});
    return out;
}

} // namespace

StatsListModel::StatsListModel(const std::vector<StatsColumn>& columns, QObject* parent)
    : RecordTableModel<StatsListRow>(listColumns(columns), parent) {
    for (const StatsColumn& c : columns)
        alignments_.push_back(c.alignment);
}

// The dates are centred, which the shared lists never need.
QVariant StatsListModel::alignment(int column) const {
    if (column < 0 || column >= int(alignments_.size())) return {};
    return int(alignments_[size_t(column)] | Qt::AlignVCenter);
}

QVariant StatsListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid()) return alignment(index.column());
    return RecordTableModel<StatsListRow>::data(index, role);
}

QVariant StatsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal) return alignment(section);
    return RecordTableModel<StatsListRow>::headerData(section, orientation, role);
}

QString StatsListModel::cellText(int row, int column) const {
    return record(row).texts.value(column - 1);
}
