#include "stock/frmOut.h"

#include "core/Vb.h"
#include "stock/StockTexts.h"

#include <QLineEdit>

using namespace stocktext;

frmOut::frmOut(Session& session, const GoodsRecord& goods, QWidget* parent)
    : StockForm(session, QStringLiteral("销售登记"), Kind::Movement, parent), goods_(goods) {
    layOutMovementForm(goods_, true, kLogSale);
    // One piece at the retail price, whatever the display switches hide.
    Text2(0)->setText(QStringLiteral("1"));
    Text2(1)->setText(vb::CStr(goods_.LSJ));
    Text2(2)->setText(vb::CStr(goods_.LSJ));
    Text2(3)->setText(QStringLiteral("0"));
}

bool frmOut::SaveRec() {
    if (!settle(ledger_.bookSale(goods_.ID, readMovement(), logLine_))) return false;
    Q_EMIT goodsChanged();
    return true;
}
