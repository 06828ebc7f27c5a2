#pragma once
// Purchase entry for a goods item already in the ledger.
#include "core/Records.h"
#include "stock/StockForm.h"

class frmIn : public StockForm {
    Q_OBJECT
public:
    frmIn(Session& session, const GoodsRecord& goods, QWidget* parent = nullptr);
    bool SaveRec() override;

private:
    GoodsRecord goods_;
};
