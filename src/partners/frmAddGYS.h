#pragma once
// Supplier maintenance: list, search, add, change, delete.
#include "partners/MaintenanceForm.h"
#include "partners/SupplierBook.h"

namespace partners {
class SupplierListModel;
}
class QLineEdit;

class frmAddGYS : public MaintenanceForm {
    Q_OBJECT
public:
    explicit frmAddGYS(Session& session, QWidget* parent = nullptr);

    partners::SupplierListModel& model() const { return *model_; }
    bool SaveRec() override;

protected:
    QString searchFields() const override { return SupplierBook::kSearchFields; }
    QString searchStatement(const QString& condition) const override {
        return SupplierBook::searchStatement(condition);
    }
    QString defaultQuery() const override { return SupplierBook::kDefaultQuery; }
    void fillList(const QString& query) override;
    void ListViewL_ItemClick(int n) override;
    bool writeChanges(int n) override;
    void removeRow(int n) override;

private:
    SupplierBook book_;
    partners::SupplierListModel* model_;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
};
