#pragma once
#include "core/Options.h"
#include "core/Records.h"
#include "mainwindow/RecordTableModel.h"

// The purchases view: date, goods label, quantity, amount (hidden by Show_JHZJE, and what
// is still owed), note with the supplier and the customer.
class PurchaseListModel : public RecordTableModel<PurchaseRecord> {
public:
    enum Column { RowNumber, Date, Goods, Quantity, Amount, Note, ColumnCount };
    explicit PurchaseListModel(QObject* parent = nullptr) : RecordTableModel(listviews::Purchases, parent) {}
    void load(RowSource& rows, const Options& options);
    QString cellText(const PurchaseRecord& r, int column) const override;

private:
    bool showAmount_ = false;
};
