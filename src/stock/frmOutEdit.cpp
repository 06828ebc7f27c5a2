#include "stock/frmOutEdit.h"

#include "core/Session.h"
#include "core/Vb.h"
#include "stock/GoodsText.h"
#include "stock/StockTexts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace stocktext;

frmOutEdit::frmOutEdit(Session& session, const SaleRecord& record, QWidget* parent)
    : StockForm(session, QStringLiteral("修改销售记录"), MessageBanner::Placement::Top, parent),
      record_(record) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeGoodsText());
    layout->addLayout(makeMovementBoxes(QStringLiteral("销售日期"), false));
    layout->addLayout(makePartnerRows(false, true));
    layout->addSpacing(8);
    layout->addLayout(
        makeButtonRow({}, {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));

    GoodsRecord goods;
    goods.ID = record_.TZID;
    if (const auto stored = ledger_.goods(goods.ID)) goods = *stored;
    logLine_ = kLogSaleEdited + goods.MC + QLatin1Char('(') + goods.JC + QLatin1Char(')');
    session.logText = logLine_;
    txtSP_->setPlainText(GoodsText::forSale(goods, session.options));

    DTPicker1_->setDate(vb::ParseDateTime(record_.RQ).date());
    Text2(0)->setText(vb::CStr(vb::Round(record_.SL, 2)));
    if (record_.SL != 0) Text2(1)->setText(vb::CStr(vb::Round(record_.ZJE / record_.SL, 2)));
    Text2(2)->setText(vb::CStr(vb::Round(record_.ZJE, 2)));
    Text2(3)->setText(vb::CStr(vb::Round(record_.GZJE, 2)));
    Text2(4)->setText(record_.BZ);
    Load_cmbKHXQ();
    selectData(cmbKHXQ_, record_.KHXQID);
    resize(640, sizeHint().height());
}

bool frmOutEdit::SaveRec() {
    MovementFields m = readMovement();
    m.JXID = cmbKHXQ_->currentData(Qt::UserRole + 1).toLongLong();
    const LedgerResult r = ledger_.editSale(record_.ID, m, logLine_);
    if (!settle(r, kSaveFailedMovement, kHintTitle, true)) return false;
    Q_EMIT salesChanged();
    return true;
}

void frmOutEdit::cmdS_Click(int index) {
    if (index != 1) return StockForm::cmdS_Click(index);
    if (!SaveRec()) return;
    session_.boxes().information(kSavedBox, app::kTitle);
    accept();
}
