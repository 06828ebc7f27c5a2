#pragma once
#include "partners/CustomerBook.h"
#include "partners/RecordListModel.h"

namespace partners {

class CustomerListModel : public RecordListModel<CustomerRecord> {
public:
    enum Column { XH, MC, ZL, ColumnCount };
    explicit CustomerListModel(QObject* parent = nullptr);

protected:
    QString cell(int row, int column) const override;
};

} // namespace partners
