#include "partners/frmAddKH.h"

#include "partners/CustomerListModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

frmAddKH::frmAddKH(Session& session, QWidget* parent)
    : MaintenanceForm(session, QStringLiteral("[维护客户信息]"), parent), book_(session),
      model_(new partners::CustomerListModel(this)) {
    setObjectName(QStringLiteral("frmAddKH"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    fields_->addWidget(new QLabel(QStringLiteral("客户名称"), this), 0, 0);
    fields_->addWidget(Text1, 0, 1);
    fields_->addWidget(new QLabel(QStringLiteral("客户资料"), this), 1, 0);
    fields_->addWidget(Text2, 1, 1);
    setUpList(model_);
    openList();
}

void frmAddKH::fillList(const QString& query) {
    model_->setRows(book_.load(query));
}

void frmAddKH::ListViewL_ItemClick(int n) {
    const CustomerRecord& r = model_->record(n - 1);
    Text1->setText(r.KHMC);
    Text2->setText(r.KHZL);
}

bool frmAddKH::SaveRec() {
    const auto name = nameToSave(Text1->text(), true);
    return name && stored([&] { book_.add(*name, Text2->text(), QDate::currentDate()); });
}

bool frmAddKH::writeChanges(int n) {
    const auto name = nameToSave(Text1->text(), false);
    return name && stored([&] { book_.update(model_->record(n - 1).ID, *name, Text2->text()); });
}

void frmAddKH::removeRow(int n) {
    book_.remove(model_->record(n - 1).ID);
}
