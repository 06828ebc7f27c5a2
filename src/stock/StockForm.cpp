#include "stock/StockForm.h"

#include "core/Options.h"
#include "core/Pinyin.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Vb.h"
#include "stock/AmountCoupling.h"
#include "stock/GoodsText.h"
#include "stock/PartnerChoices.h"
#include "stock/StockTexts.h"
#include "ui/CommandButton.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QLineEdit* MakeArrayBox(QWidget* parent, const QString& array, int index) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("%1(%2)").arg(array).arg(index));
    return box;
}

StockForm::StockForm(Session& session, const QString& ownTitle, Kind kind, QWidget* parent)
    : QDialog(parent), session_(session), ledger_(session), kind_(kind),
      banner_(new MessageBanner(this, kind == Kind::Goods ? MessageBanner::Placement::Bottom
                                                          : MessageBanner::Placement::Top)) {
    setWindowTitle(app::kTitle + QLatin1Char('[') + ownTitle + QLatin1Char(']'));
    setModal(true);
}

void StockForm::cmdS_Click(int index) {
    switch (index) {
    case 0:
        reject();
        break;
    case 1:
        if (!SaveRec()) break;
        session_.boxes().information(stocktext::kSavedBox, app::kTitle);
        accept();
        break;
    case 3:
        Q_EMIT supplierFormRequested();
        Load_cmbGYS();
        break;
    case 4:
        Q_EMIT demandFormRequested();
        Load_cmbKHXQ();
        break;
    default:
        break;
    }
}

QPushButton* StockForm::makeButton(int index, const QString& caption) {
    auto* b = commandButton(this, &StockForm::cmdS_Click, index, caption);
    b->setMinimumWidth(96);
    return b;
}

QHBoxLayout* StockForm::makeButtonRow(const std::vector<QWidget*>& left, const std::vector<QWidget*>& right) {
    auto* row = new QHBoxLayout;
    for (QWidget* b : left)
        row->addWidget(b);
    row->addStretch(1);
    for (QWidget* b : right)
        row->addWidget(b);
    return row;
}

void StockForm::layOutMovementForm(const GoodsRecord& goods, bool sale, const QString& logPrefix) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeGoodsText());
    layout->addLayout(
        makeMovementBoxes(sale ? QStringLiteral("销售日期") : QStringLiteral("进货日期"), false));
    layout->addLayout(makePartnerRows(!sale, true));
    layout->addSpacing(8);
    layout->addLayout(
        makeButtonRow({}, {makeButton(1, QStringLiteral("保 存")), makeButton(0, QStringLiteral("退 出"))}));

    logLine_ = logPrefix + goods.MC + QLatin1Char('(') + goods.JC + QLatin1Char(')');
    txtSP_->setPlainText(sale ? GoodsText::forSale(goods, session_.options) : GoodsText::forPurchase(goods));
    Load_cmbGYS();
    Load_cmbKHXQ();
    resize(640, sizeHint().height());
}

GoodsRecord StockForm::storedGoods(qlonglong goodsId) {
    if (const auto stored = ledger_.goods(goodsId)) return *stored;
    GoodsRecord goods;
    goods.ID = goodsId;
    return goods;
}

void StockForm::showRecord(const QString& rq, double sl, double zje, double gzje, const QString& bz) {
    DTPicker1_->setDate(vb::ParseDateTime(rq).date());
    text2_[0]->setText(vb::CStr(vb::Round(sl, 2)));
    if (sl != 0) text2_[1]->setText(vb::CStr(vb::Round(zje / sl, 2)));
    text2_[2]->setText(vb::CStr(vb::Round(zje, 2)));
    text2_[3]->setText(vb::CStr(vb::Round(gzje, 2)));
    text2_[4]->setText(bz);
}

QPlainTextEdit* StockForm::makeGoodsText() {
    txtSP_ = new QPlainTextEdit(this);
    txtSP_->setObjectName(QStringLiteral("txtSP"));
    txtSP_->setReadOnly(true);
    txtSP_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtSP_->setFixedHeight(txtSP_->fontMetrics().lineSpacing() * 7 + 8);
    QPalette pal = txtSP_->palette();
    pal.setColor(QPalette::Base, palette().color(QPalette::Window));
    txtSP_->setPalette(pal);
    return txtSP_;
}

QGridLayout* StockForm::makeMovementBoxes(const QString& dateCaption, bool priceHint) {
    for (int i = 0; i < 5; ++i)
        text2_[i] = MakeArrayBox(this, QStringLiteral("Text2"), i);
    const QString either = QStringLiteral("单价与总金额输入其一");
    text2_[1]->setToolTip(either);
    text2_[2]->setToolTip(either);
    text2_[3]->setToolTip(QStringLiteral("欠账金额"));
    coupling_ = new AmountCoupling(text2_, this);

    DTPicker1_ = new QDateEdit(QDate::currentDate(), this);
    DTPicker1_->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1_->setCalendarPopup(true);
    DTPicker1_->setDisplayFormat(QStringLiteral("yyyy-M-d"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("数量")), 0, 0);
    grid->addWidget(text2_[0], 0, 1);
    grid->addWidget(label(QStringLiteral("单价")), 0, 2);
    grid->addWidget(text2_[1], 0, 3);
    grid->addWidget(label(QStringLiteral("总金额(数量X单价)")), 0, 4);
    grid->addWidget(text2_[2], 0, 5);
    grid->addWidget(label(QStringLiteral("挂账金额")), 1, 0);
    grid->addWidget(text2_[3], 1, 1);
    grid->addWidget(label(dateCaption), 1, 2);
    grid->addWidget(DTPicker1_, 1, 3);
    if (priceHint) grid->addWidget(label(QStringLiteral("(单价与总金额仅需要输入其一)")), 1, 4, 1, 2);
    grid->addWidget(label(QStringLiteral("备注")), 2, 0);
    grid->addWidget(text2_[4], 2, 1, 1, 5);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);
    return grid;
}

QGridLayout* StockForm::makePartnerRows(bool supplier, bool demand) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    int row = 0;
    if (supplier) {
        cmbGYS_ = new QComboBox(this);
        cmbGYS_->setObjectName(QStringLiteral("cmbGYS"));
        grid->addWidget(new QLabel(QStringLiteral("供货商"), this), row, 0);
        grid->addWidget(cmbGYS_, row, 1);
        grid->addWidget(makeButton(3, QStringLiteral("添加供货商信息")), row, 2);
        ++row;
    }
    if (demand) {
        cmbKHXQ_ = new QComboBox(this);
        cmbKHXQ_->setObjectName(QStringLiteral("cmbKHXQ"));
        grid->addWidget(new QLabel(QStringLiteral("客户需求"), this), row, 0);
        grid->addWidget(cmbKHXQ_, row, 1);
        grid->addWidget(makeButton(4, QStringLiteral("添加客户需求")), row, 2);
    }
    grid->setColumnStretch(1, 1);
    for (QComboBox* c : {cmbGYS_, cmbKHXQ_})
        if (c) {
            c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            c->setMinimumContentsLength(24);
        }
    return grid;
}

QGridLayout* StockForm::makeGoodsBoxes() {
    for (int i = 0; i < 8; ++i)
        text1_[i] = MakeArrayBox(this, QStringLiteral("Text1"), i);
    text1_[4]->setToolTip(QStringLiteral("告警库存"));
    // Text1_Change(0): a new name suggests its short code, replacing a typed one.
    connect(text1_[0], &QLineEdit::textChanged, this,
            [this](const QString& name) { text1_[1]->setText(PinyinInitials(name)); });
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("名称")), 0, 0);
    grid->addWidget(text1_[0], 0, 1);
    grid->addWidget(label(QStringLiteral("助记符")), 0, 2);
    grid->addWidget(text1_[1], 0, 3);
    grid->addWidget(label(QStringLiteral("(系统会自动生成拼音字头)")), 0, 4, 1, 2);
    grid->addWidget(label(QStringLiteral("规格型号参数")), 1, 0);
    grid->addWidget(text1_[2], 1, 1, 1, 5);
    grid->addWidget(label(QStringLiteral("库位")), 2, 0);
    grid->addWidget(text1_[3], 2, 1);
    grid->addWidget(label(QStringLiteral("最小库存")), 2, 2);
    grid->addWidget(text1_[4], 2, 3);
    grid->addWidget(label(QStringLiteral("零售价")), 3, 0);
    grid->addWidget(text1_[5], 3, 1);
    grid->addWidget(label(QStringLiteral("批发价")), 3, 2);
    grid->addWidget(text1_[6], 3, 3);
    grid->addWidget(label(QStringLiteral("调拨价")), 3, 4);
    grid->addWidget(text1_[7], 3, 5);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);
    return grid;
}

GoodsFields StockForm::readGoods() const {
    GoodsFields g;
    QString* texts[] = {&g.MC, &g.JC, &g.XH, &g.KW};
    for (int i = 0; i < 4; ++i)
        *texts[i] = Clean(text1_[i]->text());
    double* numbers[] = {&g.KCmin, &g.LSJ, &g.PFJ, &g.DBJ};
    for (int i = 0; i < 4; ++i)
        *numbers[i] = vb::Round(vb::Val(text1_[4 + i]->text()), 2);
    return g;
}

void StockForm::showStored(const GoodsFields& g) {
    // The name first: it suggests a short code, which the stored one then replaces.
    const QString texts[] = {g.MC, g.JC, g.XH, g.KW};
    for (int i = 0; i < 4; ++i)
        text1_[i]->setText(texts[i]);
    const double numbers[] = {g.KCmin, g.LSJ, g.PFJ, g.DBJ};
    for (int i = 0; i < 4; ++i)
        text1_[4 + i]->setText(vb::CStr(numbers[i]));
}

void StockForm::Load_cmbGYS() {
    if (!cmbGYS_) return;
    cmbGYS_->clear();
    for (const PartnerChoice& c : PartnerChoices::suppliers(session_))
        cmbGYS_->addItem(c.text, c.id);
    cmbGYS_->setCurrentIndex(0);
}

void StockForm::Load_cmbKHXQ() {
    if (!cmbKHXQ_) return;
    cmbKHXQ_->clear();
    for (const PartnerChoice& c : PartnerChoices::openDemands(session_)) {
        cmbKHXQ_->addItem(c.text, c.id);
        cmbKHXQ_->setItemData(cmbKHXQ_->count() - 1, c.customerId, Qt::UserRole + 1);
    }
    cmbKHXQ_->setCurrentIndex(0);
}

void StockForm::selectData(QComboBox* combo, qlonglong id) {
    if (!combo) return;
    int index = 0;
    if (id >= 1) index = std::max(0, combo->findData(id));
    combo->setCurrentIndex(index);
}

MovementFields StockForm::readMovement() const {
    MovementFields m;
    m.SL = vb::Val(text2_[0]->text());
    m.ZJE = vb::Val(text2_[2]->text());
    m.GZJE = vb::Val(text2_[3]->text());
    m.RQ = DTPicker1_->date();
    m.BZ = Clean(text2_[4]->text());
    if (cmbKHXQ_) m.KHXQID = cmbKHXQ_->currentData().toLongLong();
    // A purchase's partner is its supplier, a sale's the customer of the demand it serves.
    if (cmbGYS_)
        m.JXID = cmbGYS_->currentData().toLongLong();
    else if (cmbKHXQ_)
        m.JXID = cmbKHXQ_->currentData(Qt::UserRole + 1).toLongLong();
    return m;
}

bool StockForm::settle(const LedgerResult& r) {
    switch (r.status) {
    case LedgerResult::Status::Done:
        return true;
    case LedgerResult::Status::Refused:
        autoMSG(r.message, 5);
        return false;
    case LedgerResult::Status::Cancelled:
        return false;
    case LedgerResult::Status::Failed:
        if (kind_ == Kind::Goods)
            session_.boxes().warning(stocktext::kSaveFailedGoods, stocktext::kErrorTitle);
        else
            session_.boxes().critical(stocktext::kSaveFailedMovement, stocktext::kHintTitle);
        return false;
    }
    return false;
}
