#pragma once
// Customer maintenance: list, search, add (with the placeholder demand), change, delete.
#include "partners/CustomerBook.h"
#include "partners/MaintenanceForm.h"

namespace partners {
class CustomerListModel;
}
class QLineEdit;

class frmAddKH : public MaintenanceForm {
    Q_OBJECT
public:
    static inline const QString kDeleteCustomerPrompt =
        QStringLiteral("此操作将一并删除有关该客户的所有需求记录(不删除销售记录)，确定删除吗 ?");

    explicit frmAddKH(Session& session, QWidget* parent = nullptr);

    partners::CustomerListModel& model() const { return *model_; }
    bool SaveRec() override;

protected:
    QString searchFields() const override { return CustomerBook::kSearchFields; }
    QString searchStatement(const QString& condition) const override {
        return CustomerBook::searchStatement(condition);
    }
    QString defaultQuery() const override { return CustomerBook::kDefaultQuery; }
    void fillList(const QString& query) override;
    void ListViewL_ItemClick(int n) override;
    // A new customer is looked for in the default list.
    bool addKeepsFilter() const override { return false; }
    bool writeChanges(int n) override;
    QString deletePrompt() const override { return kDeleteCustomerPrompt; }
    void removeRow(int n) override;

private:
    CustomerBook book_;
    partners::CustomerListModel* model_;
    QLineEdit* Text1;
    QLineEdit* Text2;
};
