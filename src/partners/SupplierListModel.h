#pragma once
#include "core/QueryResult.h"
#include "core/Records.h"
#include "ui/RecordTableModel.h"

namespace partners {

// The suppliers list of the supplier form and of the main window: name with details, kinds
// of goods supplied. The two lists differ only in the width of the name.
class SupplierListModel : public RecordTableModel<SupplierRecord> {
public:
    enum Column { XH, GYS, GHPZ, ColumnCount };
    explicit SupplierListModel(int nameTwips, QObject* parent = nullptr);
    void load(RowSource& rows);

protected:
    QString cellText(int row, int column) const override;
};

} // namespace partners
