#pragma once
// Editing of a goods item's descriptive data and prices, and its removal together with
// all its movements.
#include "core/Records.h"
#include "stock/StockForm.h"

class frmEditWZ : public StockForm {
    Q_OBJECT
public:
    frmEditWZ(Session& session, const GoodsRecord& goods, QWidget* parent = nullptr);
    bool SaveRec() override;
    void removeGoods(); // button 2

protected:
    void cmdS_Click(int index) override;

private:
    GoodsRecord goods_;
};
