#pragma once
#include "core/Records.h"
#include "partners/RecordListModel.h"

namespace partners {

class DemandListModel : public RecordListModel<DemandRecord> {
public:
    enum Column { XH, KHBS, RQ, KHXQ, ColumnCount };
    explicit DemandListModel(QObject* parent = nullptr);

protected:
    QString cell(int row, int column) const override;
    void rowsChanged() override;

private:
    QStringList customerColumn_;
};

} // namespace partners
