#pragma once
// Customer demands: the list grouped by customer, search, a new demand for the customer of
// the selected row, changing the text, deleting, and the way to the customer form.
#include "partners/DemandBook.h"
#include "partners/MaintenanceForm.h"

namespace partners {
class GroupedDemandListModel;
}
class QDateEdit;
class QLineEdit;

class frmAddKHXQ : public MaintenanceForm {
    Q_OBJECT
public:
    static inline const QString kEmptyText = QStringLiteral(" 保 存 失 败 ！ ");

    explicit frmAddKHXQ(Session& session, QWidget* parent = nullptr);

    partners::GroupedDemandListModel& model() const { return *model_; }
    bool SaveRec() override;

protected:
    QString searchFields() const override { return DemandBook::kSearchFields; }
    QString searchStatement(const QString& condition) const override {
        return DemandBook::searchStatement(condition);
    }
    QString defaultQuery() const override { return DemandBook::kDefaultQuery; }
    void fillList(const QString& query) override;
    void ListViewL_ItemClick(int n) override;
    void cmdS_Click(int index) override;
    // Button 4: the customer form, modally.
    virtual void openCustomerForm();

    bool writeChanges(int n) override;
    void removeRow(int n) override;

private:
    DemandBook book_;
    partners::GroupedDemandListModel* model_;
    QLineEdit* Text1;
    QDateEdit* DTPicker1;
};
