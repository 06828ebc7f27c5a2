#pragma once
#include "core/Records.h"
#include "partners/RecordListModel.h"

namespace partners {

class SupplierListModel : public RecordListModel<SupplierRecord> {
public:
    enum Column { XH, GYS, GHPZ, ColumnCount };
    explicit SupplierListModel(QObject* parent = nullptr);

protected:
    QString cell(int row, int column) const override;
};

} // namespace partners
