#pragma once
// The rows of a statistics list as the window shows them: row number first, then the texts
// the computation made. Each row's key is "ID" & its row number.
#include "stats/StatsColumn.h"
#include "ui/RecordTableModel.h"

#include <QStringList>
#include <vector>

struct StatsListRow {
    qlonglong ID = 0;  // the row number, from 1
    QStringList texts; // the cells after the row number
};

class StatsListModel : public RecordTableModel<StatsListRow> {
public:
    StatsListModel(const std::vector<StatsColumn>& columns, QObject* parent);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    QString cellText(int row, int column) const override;

private:
    QVariant alignment(int column) const;
    std::vector<Qt::Alignment> alignments_;
};
