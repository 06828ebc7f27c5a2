#include "stock/frmInEdit.h"

#include "stock/StockTexts.h"

using namespace stocktext;

frmInEdit::frmInEdit(Session& session, const PurchaseRecord& record, QWidget* parent)
    : StockForm(session, QStringLiteral("修改进货记录"), Kind::Movement, parent), record_(record) {
    layOutMovementForm(storedGoods(std::llabs(record_.TZID)), false, kLogPurchaseEdited);
    showRecord(record_);
    selectData(cmbGYS_, record_.JXID);
    selectData(cmbKHXQ_, record_.KHXQID); // open demands only: a settled one shows as blank
}

bool frmInEdit::SaveRec() {
    if (!settle(ledger_.editPurchase(record_.ID, readMovement(), logLine_))) return false;
    Q_EMIT purchasesChanged();
    return true;
}
