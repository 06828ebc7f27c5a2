#pragma once
#include "core/QueryResult.h"
#include "core/Records.h"
#include "ui/RecordTableModel.h"

// The customer demands view: date, customer label, done state with the demand text.
class DemandListModel : public RecordTableModel<DemandRecord> {
public:
    enum Column { RowNumber, Date, Customer, Demand, ColumnCount };
    explicit DemandListModel(QObject* parent = nullptr);
    void load(RowSource& rows);

protected:
    QString cellText(int row, int column) const override;
};
