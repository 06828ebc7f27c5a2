#include "partners/MaintenanceForm.h"

#include "core/KeywordSearch.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "partners/CustomerBook.h"
#include "ui/CommandButton.h"
#include "ui/KeywordCombo.h"
#include "ui/ListView.h"
#include "ui/MessageBanner.h"
#include "ui/Twips.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

MaintenanceForm::MaintenanceForm(Session& session, const QString& title, QWidget* parent)
    : QDialog(parent), session_(session) {
    setWindowTitle(app::kTitle + title);
    setModal(true);

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    // The boxes end 120 twips short of the right edge.
    topLayout->setContentsMargins(twips(120), twips(90), twips(120), twips(90));
    topLayout->setSpacing(twips(60));
    fields_ = new QGridLayout;
    fields_->setHorizontalSpacing(twips(120));
    fields_->setVerticalSpacing(twips(60));
    fields_->setColumnStretch(1, 1);
    topLayout->addLayout(fields_);
    buttonRow_ = new QHBoxLayout;
    buttonRow_->setSpacing(twips(60));
    topLayout->addLayout(buttonRow_);

    addButton(1, QStringLiteral("保存为新记录"));
    addButton(2, QStringLiteral("保存修改内容"));
    addButton(3, QStringLiteral("删除本条记录"));
    buttonRow_->addStretch(1);
    cmbSS = new KeywordCombo(this);
    cmbSS->setMinimumWidth(twips(2700));
    buttonRow_->addWidget(cmbSS);
    addButton(8, QStringLiteral(" 搜索"));
    addButton(0, QStringLiteral("退出"));
    // Enter in the keyword box searches, as the search button does.
    connect(cmbSS->lineEdit(), &QLineEdit::returnPressed, this, [this] { cmdS_Click(8); });

    ListViewL = new ListView(this);
    ListViewL->setObjectName(QStringLiteral("ListViewL"));

    // The list takes the full width and runs down to the bottom edge.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(ListViewL, 1);

    banner_ = new MessageBanner(this, MessageBanner::Placement::Bottom);
    resize(twips(12000), twips(8400));
}

QPushButton* MaintenanceForm::addButton(int index, const QString& caption) {
    auto* b = commandButton(this, &MaintenanceForm::cmdS_Click, index, caption);
    cmdS_[index] = b;
    buttonRow_->addWidget(b);
    return b;
}

int MaintenanceForm::twips(int tw) const {
    return twips::toPx(*this, tw);
}

void MaintenanceForm::setUpList(QAbstractItemModel* model) {
    ListViewL->setModel(model);
    ListViewL->resetColumnWidths();
    connect(ListViewL, &QTableView::clicked, this,
            [this](const QModelIndex& i) { ListViewL_ItemClick(i.row() + 1); });
    connect(ListViewL->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) ListViewL_ItemClick(current.row() + 1);
            });
}

void MaintenanceForm::openList() {
    try {
        Load_cmbSS();
        Load_ListViewL();
    } catch (const DbError&) {
        session_.boxes().critical(kSearchFailed, kFailTitle);
    }
}

void MaintenanceForm::Load_ListViewL() {
    if (formQuery_.isEmpty()) formQuery_ = defaultQuery();
    fillList(formQuery_);
    if (listRowCount() > 0) selectRow(1);
}

std::optional<QString> MaintenanceForm::nameToSave(const QString& typed, bool newRecord) {
    const QString name = Clean(typed);
    if (NameLongEnough(name)) return name;
    if (newRecord)
        session_.boxes().critical(kNameTooShortBox, QStringLiteral("错误"));
    else
        autoMSG(kNameTooShortBanner, 2);
    return std::nullopt;
}

bool MaintenanceForm::stored(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const DbError&) {
        session_.boxes().critical(kSaveFailed, kFailTitle);
        return false;
    }
}

bool MaintenanceForm::reloadList() {
    try {
        Load_ListViewL();
        return true;
    } catch (const DbError&) {
        session_.boxes().critical(kSearchFailed, kFailTitle);
        return false;
    }
}

QString MaintenanceForm::GetSQLKey() const {
    return KeywordCondition(searchFields(), cmbSS->currentText());
}

void MaintenanceForm::SaveKey(const QString& cKey) {
    cmbSS->remember(session_, cKey);
}

void MaintenanceForm::Load_cmbSS() {
    cmbSS->load(session_);
}

void MaintenanceForm::autoMSG(const QString& text, qint16 seconds) {
    banner_->autoMSG(text, seconds);
}

int MaintenanceForm::listRowCount() const {
    return ListViewL->model() ? ListViewL->model()->rowCount() : 0;
}

int MaintenanceForm::selectedRow() const {
    const QModelIndexList rows =
        ListViewL->selectionModel() ? ListViewL->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void MaintenanceForm::selectRow(int n) {
    if (n < 1 || n > listRowCount()) return;
    const QModelIndex index = ListViewL->model()->index(n - 1, 0);
    ListViewL->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    ListViewL->scrollTo(index);
    ListViewL_ItemClick(n);
}

void MaintenanceForm::reselect(int n) {
    selectRow(std::min(n, listRowCount()));
}

void MaintenanceForm::search() {
    cmbSS->setEditText(Clean(cmbSS->currentText()));
    const QString previous = formQuery_;
    try {
        SaveKey(cmbSS->currentText());
        formQuery_ = searchStatement(GetSQLKey());
        Load_ListViewL();
    } catch (const DbError&) {
        // The list keeps showing what it showed, and later reloads run the old query.
        formQuery_ = previous;
        session_.boxes().critical(kSearchFailed, kFailTitle);
    }
}

void MaintenanceForm::addRecord() {
    if (!SaveRec()) return;
    autoMSG(kSaveDone, 2);
    if (!addKeepsFilter()) formQuery_.clear();
    reloadList();
}

void MaintenanceForm::saveChanges() {
    // Nothing selected, nothing to change.
    const int n = selectedRow();
    if (n == 0 || !writeChanges(n)) return;
    if (reloadList()) reselect(n);
    autoMSG(kSaveDone, 2);
}

void MaintenanceForm::deleteRecord() {
    const int n = selectedRow();
    if (n == 0) return;
    if (!AskYesNo(session_, deletePrompt(), kDeleteTitle)) return;
    try {
        removeRow(n);
    } catch (const DbError&) {
        session_.boxes().critical(kDeleteFailed, kFailTitle);
        return;
    }
    autoMSG(kDeleteDone, 2);
    reloadList();
}

void MaintenanceForm::cmdS_Click(int index) {
    switch (index) {
    case 0:
        close();
        break;
    case 1:
        addRecord();
        break;
    case 2:
        saveChanges();
        break;
    case 3:
        deleteRecord();
        break;
    case 8:
        search();
        break;
    default:
        break;
    }
}
