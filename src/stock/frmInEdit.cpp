#include "stock/frmInEdit.h"

#include "core/Session.h"
#include "core/Vb.h"
#include "stock/GoodsText.h"
#include "stock/StockTexts.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace stocktext;

frmInEdit::frmInEdit(Session& session, const PurchaseRecord& record, QWidget* parent)
    : StockForm(session, QStringLiteral("修改进货记录"), MessageBanner::Placement::Top, parent),
      record_(record) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeGoodsText());
    layout->addLayout(makeMovementBoxes(QStringLiteral("进货日期"), false));
    layout->addLayout(makePartnerRows(true, true));
    layout->addSpacing(8);
    layout->addLayout(
        makeButtonRow({}, {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));

    // The goods item as it is stored now, not as an older list showed it.
    GoodsRecord goods;
    goods.ID = std::llabs(record_.TZID);
    if (const auto stored = ledger_.goods(goods.ID)) goods = *stored;
    logLine_ = kLogPurchaseEdited + goods.MC + QLatin1Char('(') + goods.JC + QLatin1Char(')');
    session.logText = logLine_;
    txtSP_->setPlainText(GoodsText::forPurchase(goods));

    // In this order: each box raises the coupling, and the stored amount is set last.
    DTPicker1_->setDate(vb::ParseDateTime(record_.RQ).date());
    Text2(0)->setText(vb::CStr(record_.SL));
    if (record_.SL != 0) Text2(1)->setText(vb::CStr(vb::Round(record_.ZJE / record_.SL, 2)));
    Text2(2)->setText(vb::CStr(record_.ZJE));
    Text2(3)->setText(vb::CStr(record_.GZJE));
    Text2(4)->setText(record_.BZ);
    Load_cmbGYS();
    selectData(cmbGYS_, record_.JXID);
    Load_cmbKHXQ(); // open demands only: a settled one shows as blank
    selectData(cmbKHXQ_, record_.KHXQID);
    resize(640, sizeHint().height());
}

bool frmInEdit::SaveRec() {
    const LedgerResult r = ledger_.editPurchase(record_.ID, readMovement(), logLine_);
    if (!settle(r, kSaveFailedMovement, kHintTitle, true)) return false;
    Q_EMIT purchasesChanged();
    return true;
}

void frmInEdit::cmdS_Click(int index) {
    if (index != 1) return StockForm::cmdS_Click(index);
    if (!SaveRec()) return;
    session_.boxes().information(kSavedBox, app::kTitle);
    accept();
}
