#include "partners/frmAddKHXQ.h"

#include "core/Session.h"
#include "core/TextRoutines.h"
#include "partners/GroupedDemandListModel.h"
#include "partners/frmAddKH.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmAddKHXQ::frmAddKHXQ(Session& session, QWidget* parent)
    : MaintenanceForm(session, QStringLiteral("[录入客户需求]"), parent), book_(session),
      model_(new partners::GroupedDemandListModel(this)) {
    setObjectName(QStringLiteral("frmAddKHXQ"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    fields_->addWidget(new QLabel(QStringLiteral("客户需求"), this), 0, 0);
    fields_->addWidget(Text1, 0, 1);

    DTPicker1 = new QDateEdit(QDate::currentDate(), this);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    DTPicker1->setCalendarPopup(true);
    auto* dateLabel = new QLabel(QStringLiteral("录入日期"), this);
    // The date sits under the demand text's label, ahead of the buttons.
    buttonRow_->insertWidget(0, dateLabel);
    buttonRow_->insertWidget(1, DTPicker1);
    buttonRow_->insertSpacing(2, twips(120));
    QPushButton* addCustomer = addButton(4, QStringLiteral("添加客户"));
    buttonRow_->removeWidget(addCustomer);
    buttonRow_->insertWidget(buttonRow_->indexOf(cmdS(3)) + 1, addCustomer);

    setUpList(model_);
    openList();
}

void frmAddKHXQ::fillList(const QString& query) {
    model_->setRows(book_.load(query));
}

void frmAddKHXQ::ListViewL_ItemClick(int n) {
    Text1->setText(model_->record(n - 1).KHXQ);
}

bool frmAddKHXQ::SaveRec() {
    const QString text = Clean(Text1->text());
    if (text.isEmpty()) {
        session_.boxes().critical(kEmptyText, QStringLiteral("信息"));
        return false;
    }
    // The new demand belongs to the customer of the selected row; without one there is
    // no customer to give it.
    const int n = selectedRow();
    if (n == 0) {
        session_.boxes().critical(kSaveFailed, kFailTitle);
        return false;
    }
    return stored([&] { book_.add(model_->record(n - 1).KHID, DTPicker1->date(), text); });
}

bool frmAddKHXQ::writeChanges(int n) {
    // Only the text changes; the box keeps what was typed.
    return stored([&] { book_.updateText(model_->record(n - 1).ID, Text1->text()); });
}

void frmAddKHXQ::removeRow(int n) {
    book_.remove(model_->record(n - 1).ID);
}

void frmAddKHXQ::openCustomerForm() {
    frmAddKH form(session_, this);
    form.exec();
}

void frmAddKHXQ::cmdS_Click(int index) {
    if (index != 4) {
        MaintenanceForm::cmdS_Click(index);
        return;
    }
    openCustomerForm();
    formQuery_.clear();
    reloadList();
}
