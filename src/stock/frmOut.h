#pragma once
// Sales entry for a goods item in the ledger.
#include "core/Records.h"
#include "stock/StockForm.h"

class frmOut : public StockForm {
    Q_OBJECT
public:
    frmOut(Session& session, const GoodsRecord& goods, QWidget* parent = nullptr);
    bool SaveRec() override;

private:
    GoodsRecord goods_;
};
