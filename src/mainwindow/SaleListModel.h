#pragma once
#include "mainwindow/MovementListModel.h"

// The sales view: the note with the customer and the demand.
class SaleListModel : public MovementListModel<SaleRecord> {
public:
    explicit SaleListModel(QObject* parent = nullptr) : MovementListModel(parent, &RecordReader::sale) {}
    void load(RowSource& rows) { loadRows(rows); }

protected:
    QString labels(const SaleRecord& r) const override { return r.KHZL + QLatin1Char('/') + r.KHXQ; }
};
