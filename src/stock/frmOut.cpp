#include "stock/frmOut.h"

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

frmOut::frmOut(Session& session, const GoodsRecord& goods, QWidget* parent)
    : StockForm(session, QStringLiteral("销售登记"), MessageBanner::Placement::Top, parent), goods_(goods) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeGoodsText());
    layout->addLayout(makeMovementBoxes(QStringLiteral("销售日期"), false));
    layout->addLayout(makePartnerRows(false, true));
    layout->addSpacing(8);
    layout->addLayout(
        makeButtonRow({}, {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));

    logLine_ = kLogSale + goods_.MC + QLatin1Char('(') + goods_.JC + QLatin1Char(')');
    session.logText = logLine_;
    txtSP_->setPlainText(GoodsText::forSale(goods_, session.options));
    DTPicker1_->setDate(QDate::currentDate());
    // One piece at the retail price, whatever the display switches hide.
    Text2(0)->setText(QStringLiteral("1"));
    Text2(1)->setText(vb::CStr(goods_.LSJ));
    Text2(2)->setText(vb::CStr(goods_.LSJ));
    Text2(3)->setText(QStringLiteral("0"));
    Text2(4)->setText(QString());
    Load_cmbKHXQ();
    resize(640, sizeHint().height());
}

bool frmOut::SaveRec() {
    MovementFields m = readMovement();
    m.JXID = cmbKHXQ_->currentData(Qt::UserRole + 1).toLongLong(); // the demand's customer
    const LedgerResult r = ledger_.bookSale(goods_.ID, m, logLine_);
    if (!settle(r, kSaveFailedMovement, kHintTitle, true)) return false;
    Q_EMIT goodsChanged();
    return true;
}

void frmOut::cmdS_Click(int index) {
    if (index != 1) return StockForm::cmdS_Click(index);
    if (!SaveRec()) return;
    session_.boxes().information(kSavedBox, app::kTitle);
    accept();
}
