#pragma once
// Purchase entry for a goods item already in the ledger.
#include "core/Records.h"
#include "stock/StockForm.h"

class frmIn : public StockForm {
    Q_OBJECT
public:
    frmIn(Session& session, const GoodsRecord& goods, QWidget* parent = nullptr);
    bool SaveRec();
    const QString& logLine() const { return logLine_; }

protected:
    void cmdS_Click(int index) override;

private:
    GoodsRecord goods_;
    QString logLine_;
};
