#include "stock/frmAddWZ.h"

#include "core/Session.h"
#include "stock/StockTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace stocktext;

frmAddWZ::frmAddWZ(Session& session, QWidget* parent)
    : StockForm(session, QStringLiteral("新商品注册入库"), Kind::Goods, parent),
      Check1_(new QCheckBox(QStringLiteral("保存后不清除各输入框内容"), this)) {
    Check1_->setObjectName(QStringLiteral("Check1"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeGoodsBoxes());
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addSpacing(6);
    layout->addWidget(line);
    layout->addWidget(
        new QLabel(QStringLiteral("(可以填写下面内容顺便完成第一次入库,也可以空下来以后单独入库)"), this));
    layout->addLayout(makeMovementBoxes(QStringLiteral("入库日期"), true));
    layout->addLayout(makePartnerRows(true, true));
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow({Check1_}, {}));
    layout->addLayout(
        makeButtonRow({}, {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));
    // Room at the bottom for the banner.
    layout->addSpacing(28);

    Load_cmbGYS();
    Load_cmbKHXQ();
    Kong();
    resize(700, sizeHint().height());
}

void frmAddWZ::Kong() {
    DTPicker1_->setDate(QDate::currentDate());
    if (Check1_->isChecked()) return;
    for (int i = 0; i < 8; ++i)
        Text1(i)->clear();
    for (int i = 0; i < 5; ++i)
        Text2(i)->clear();
    cmbGYS_->setCurrentIndex(0);
    cmbKHXQ_->setCurrentIndex(0);
}

bool frmAddWZ::SaveRec() {
    const GoodsFields goods = readGoods();
    const MovementFields first = readMovement();
    const LedgerResult r = ledger_.registerGoods(goods, first);
    if (!settle(r)) return false;
    showStored(goods); // kept when Check1 is ticked
    Text2(4)->setText(first.BZ);
    Q_EMIT goodsChanged();
    return true;
}

void frmAddWZ::cmdS_Click(int index) {
    if (index != 1) return StockForm::cmdS_Click(index);
    if (!SaveRec()) return;
    Kong();
    autoMSG(kRegistered, 2);
}
