#include "stock/StockForm.h"

#include "core/Options.h"
#include "core/Pinyin.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Vb.h"
#include "stock/AmountCoupling.h"
#include "stock/PartnerChoices.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

QLineEdit* MakeArrayBox(QWidget* parent, const QString& array, int index) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("%1(%2)").arg(array).arg(index));
    return box;
}

StockForm::StockForm(Session& session, const QString& ownTitle, MessageBanner::Placement placement,
                     QWidget* parent)
    : QDialog(parent), session_(session), ledger_(session), banner_(new MessageBanner(this, placement)) {
    setWindowTitle(app::kTitle + QLatin1Char('[') + ownTitle + QLatin1Char(']'));
    setModal(true);
}

void StockForm::cmdS_Click(int index) {
    switch (index) {
    case 0:
        reject();
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
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QStringLiteral("cmdS(%1)").arg(index));
    b->setAutoDefault(false); // Enter in a box neither saves nor closes
    b->setMinimumWidth(96);
    connect(b, &QPushButton::clicked, this, [this, index] { cmdS_Click(index); });
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
    if (cmbGYS_) m.JXID = cmbGYS_->currentData().toLongLong();
    if (cmbKHXQ_) m.KHXQID = cmbKHXQ_->currentData().toLongLong();
    return m;
}

bool StockForm::settle(const LedgerResult& r, const QString& failText, const QString& failTitle,
                       bool critical) {
    switch (r.status) {
    case LedgerResult::Status::Done:
        return true;
    case LedgerResult::Status::Refused:
        autoMSG(r.message, 5);
        return false;
    case LedgerResult::Status::Cancelled:
        return false;
    case LedgerResult::Status::Failed:
        if (critical)
            session_.boxes().critical(failText, failTitle);
        else
            session_.boxes().warning(failText, failTitle);
        return false;
    }
    return false;
}
