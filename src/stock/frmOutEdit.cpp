#include "stock/frmOutEdit.h"

#include "stock/StockTexts.h"

using namespace stocktext;

frmOutEdit::frmOutEdit(Session& session, const SaleRecord& record, QWidget* parent)
    : StockForm(session, QStringLiteral("修改销售记录"), Kind::Movement, parent), record_(record) {
    layOutMovementForm(storedGoods(record_.TZID), true, kLogSaleEdited);
    showRecord(record_);
    selectData(cmbKHXQ_, record_.KHXQID);
}

bool frmOutEdit::SaveRec() {
    if (!settle(ledger_.editSale(record_.ID, readMovement(), logLine_))) return false;
    Q_EMIT salesChanged();
    return true;
}
