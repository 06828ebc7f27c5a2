#pragma once
#include "core/Records.h"
#include "mainwindow/RecordTableModel.h"

// The sales view: date, goods label, quantity, amount (and what is still owed), note with
// the customer and the demand.
class SaleListModel : public RecordTableModel<SaleRecord> {
public:
    enum Column { RowNumber, Date, Goods, Quantity, Amount, Note, ColumnCount };
    explicit SaleListModel(QObject* parent = nullptr) : RecordTableModel(listviews::Sales, parent) {}
    void load(RowSource& rows);
    QString cellText(const SaleRecord& r, int column) const override;
};
