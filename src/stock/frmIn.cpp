#include "stock/frmIn.h"

#include "stock/StockTexts.h"

using namespace stocktext;

frmIn::frmIn(Session& session, const GoodsRecord& goods, QWidget* parent)
    : StockForm(session, QStringLiteral("进货登记"), Kind::Movement, parent), goods_(goods) {
    layOutMovementForm(goods_, false, kLogPurchase);
}

bool frmIn::SaveRec() {
    if (!settle(ledger_.bookPurchase(goods_.ID, readMovement(), logLine_))) return false;
    Q_EMIT goodsChanged();
    return true;
}
