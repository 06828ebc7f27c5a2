#pragma once
#include "core/Records.h"
#include "mainwindow/RecordTableModel.h"

// The customer demands view: date, customer label, done state with the demand text.
class DemandListModel : public RecordTableModel<DemandRecord> {
public:
    enum Column { RowNumber, Date, Customer, Demand, ColumnCount };
    explicit DemandListModel(QObject* parent = nullptr) : RecordTableModel(listviews::Demands, parent) {}
    void load(RowSource& rows);
    QString cellText(const DemandRecord& r, int column) const override;
};
