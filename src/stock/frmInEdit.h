#pragma once
// Editing of a booked purchase; its goods item stays the same.
#include "core/Records.h"
#include "stock/StockForm.h"

class frmInEdit : public StockForm {
    Q_OBJECT
public:
    frmInEdit(Session& session, const PurchaseRecord& record, QWidget* parent = nullptr);
    bool SaveRec() override;

private:
    PurchaseRecord record_;
};
