#pragma once
#include "core/Options.h"
#include "mainwindow/MovementListModel.h"

// The purchases view: the amount hidden by Show_JHZJE, the note with the supplier and the
// customer.
class PurchaseListModel : public MovementListModel<PurchaseRecord> {
public:
    explicit PurchaseListModel(QObject* parent = nullptr)
        : MovementListModel(parent, &RecordReader::purchase) {}
    void load(RowSource& rows, const Options& options) {
        applyOptions(options);
        loadRows(rows);
    }
    void applyOptions(const Options& options) override { showAmount_ = options.Show_JHZJE; }

protected:
    QString labels(const PurchaseRecord& r) const override { return r.GYS + QLatin1Char('/') + r.KHZL; }
};
