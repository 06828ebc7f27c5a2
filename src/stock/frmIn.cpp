#include "stock/frmIn.h"

#include "core/Session.h"
#include "stock/GoodsText.h"
#include "stock/StockTexts.h"

#include <QDateEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace stocktext;

frmIn::frmIn(Session& session, const GoodsRecord& goods, QWidget* parent)
    : StockForm(session, QStringLiteral("进货登记"), MessageBanner::Placement::Top, parent), goods_(goods) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeGoodsText());
    layout->addLayout(makeMovementBoxes(QStringLiteral("进货日期"), false));
    layout->addLayout(makePartnerRows(true, true));
    layout->addSpacing(8);
    layout->addLayout(
        makeButtonRow({}, {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));

    // Written to the operation log once the purchase is stored.
    logLine_ = kLogPurchase + goods_.MC + QLatin1Char('(') + goods_.JC + QLatin1Char(')');
    session.logText = logLine_;
    txtSP_->setPlainText(GoodsText::forPurchase(goods_));
    DTPicker1_->setDate(QDate::currentDate());
    Load_cmbGYS();
    Load_cmbKHXQ();
    resize(640, sizeHint().height());
}

bool frmIn::SaveRec() {
    const LedgerResult r = ledger_.bookPurchase(goods_.ID, readMovement(), logLine_);
    if (!settle(r, kSaveFailedMovement, kHintTitle, true)) return false;
    Q_EMIT goodsChanged();
    return true;
}

void frmIn::cmdS_Click(int index) {
    if (index != 1) return StockForm::cmdS_Click(index);
    if (!SaveRec()) return;
    session_.boxes().information(kSavedBox, app::kTitle);
    accept();
}
