#pragma once
#include "core/Records.h"
#include "ui/RecordTableModel.h"

namespace partners {

// The customer form's list: name, details.
class CustomerListModel : public RecordTableModel<CustomerRecord> {
public:
    enum Column { XH, MC, ZL, ColumnCount };
    explicit CustomerListModel(QObject* parent = nullptr);

protected:
    QString cellText(int row, int column) const override;
};

} // namespace partners
