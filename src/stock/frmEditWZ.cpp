#include "stock/frmEditWZ.h"

#include "core/Session.h"
#include "core/Vb.h"
#include "stock/StockTexts.h"

#include <QLineEdit>
#include <QVBoxLayout>

using namespace stocktext;

frmEditWZ::frmEditWZ(Session& session, const GoodsRecord& goods, QWidget* parent)
    : StockForm(session, QStringLiteral("修改商品信息"), Kind::Goods, parent), goods_(goods) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeGoodsBoxes());
    layout->addSpacing(8);
    layout->addLayout(
        makeButtonRow({makeButton(2, QStringLiteral("注销商品"))},
                      {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));
    layout->addSpacing(28); // room for the banner

    // The name first suggests a short code; the stored one then replaces it.
    Text1(0)->setText(goods_.MC);
    Text1(1)->setText(goods_.JC);
    Text1(2)->setText(goods_.XH);
    Text1(3)->setText(goods_.KW);
    Text1(4)->setText(vb::CStr(goods_.KCmin));
    Text1(5)->setText(vb::CStr(goods_.LSJ));
    Text1(6)->setText(vb::CStr(goods_.PFJ));
    Text1(7)->setText(vb::CStr(goods_.DBJ));
    resize(640, sizeHint().height());
}

bool frmEditWZ::SaveRec() {
    const GoodsFields g = readGoods();
    const LedgerResult r = ledger_.editGoods(goods_.ID, g);
    if (!settle(r)) return false;
    showStored(g);
    // A later removal names the item as it is now.
    goods_.MC = g.MC;
    goods_.JC = g.JC;
    goods_.XH = g.XH;
    Q_EMIT goodsChanged();
    return true;
}

void frmEditWZ::removeGoods() {
    if (!AskYesNo(session_, kRemoveQuestion, kRemoveTitle)) return;
    const LedgerResult r = ledger_.removeGoods(goods_);
    if (!r.ok()) {
        session_.boxes().warning(kRemoveFailed, kErrorTitle);
        return;
    }
    Q_EMIT goodsChanged();
    session_.boxes().information(kRemoved, app::kTitle);
    accept();
}

void frmEditWZ::cmdS_Click(int index) {
    switch (index) {
    case 1:
        if (SaveRec()) autoMSG(kSavedBanner, 2);
        break;
    case 2:
        removeGoods();
        break;
    default:
        StockForm::cmdS_Click(index);
    }
}
