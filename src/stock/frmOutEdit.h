#pragma once
// Editing of a booked sale; its goods item stays the same.
#include "core/Records.h"
#include "stock/StockForm.h"

class frmOutEdit : public StockForm {
    Q_OBJECT
public:
    frmOutEdit(Session& session, const SaleRecord& record, QWidget* parent = nullptr);
    bool SaveRec() override;

private:
    SaleRecord record_;
};
