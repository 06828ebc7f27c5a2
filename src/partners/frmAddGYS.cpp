#include "partners/frmAddGYS.h"

#include "partners/SupplierListModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

frmAddGYS::frmAddGYS(Session& session, QWidget* parent)
    : MaintenanceForm(session, QStringLiteral("[维护供货商信息]"), parent), book_(session),
      model_(new partners::SupplierListModel(6400, this)) {
    setObjectName(QStringLiteral("frmAddGYS"));
    const QString labels[] = {QStringLiteral("供货商名称"), QStringLiteral("其它资料"),
                              QStringLiteral("供货品种")};
    QLineEdit** boxes[] = {&Text1, &Text2, &Text3};
    for (int i = 0; i < 3; ++i) {
        *boxes[i] = new QLineEdit(this);
        (*boxes[i])->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        fields_->addWidget(new QLabel(labels[i], this), i, 0);
        fields_->addWidget(*boxes[i], i, 1);
    }
    setUpList(model_);
    openList();
}

void frmAddGYS::fillList(const QString& query) {
    model_->setRows(book_.load(query));
}

void frmAddGYS::ListViewL_ItemClick(int n) {
    const SupplierRecord& r = model_->record(n - 1);
    Text1->setText(r.GYSMC);
    Text2->setText(r.GYSZL);
    Text3->setText(r.GHPZ);
}

bool frmAddGYS::SaveRec() {
    const auto name = nameToSave(Text1->text(), true);
    return name && stored([&] { book_.add(*name, Text2->text(), Text3->text()); });
}

bool frmAddGYS::writeChanges(int n) {
    const auto name = nameToSave(Text1->text(), false);
    return name &&
           stored([&] { book_.update(model_->record(n - 1).ID, *name, Text2->text(), Text3->text()); });
}

void frmAddGYS::removeRow(int n) {
    book_.remove(model_->record(n - 1).ID);
}
