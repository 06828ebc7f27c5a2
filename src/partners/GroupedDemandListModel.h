#pragma once
#include "core/Records.h"
#include "ui/RecordTableModel.h"

#include <QStringList>

namespace partners {

// The demand form's list, grouped by customer: the customer label on the first row of each
// customer, the date, the done state with the demand text.
class GroupedDemandListModel : public RecordTableModel<DemandRecord> {
public:
    enum Column { XH, KHBS, RQ, KHXQ, ColumnCount };
    explicit GroupedDemandListModel(QObject* parent = nullptr);

protected:
    QString cellText(int row, int column) const override;
    void rowsChanged() override;

private:
    QStringList customerColumn_;
};

} // namespace partners
