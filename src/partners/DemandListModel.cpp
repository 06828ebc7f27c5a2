#include "partners/DemandListModel.h"

#include "partners/DemandBook.h"

namespace partners {

DemandListModel::DemandListModel(QObject* parent)
    : RecordListModel({QStringLiteral("序号"), QStringLiteral("客户标识"), QStringLiteral("登记日期"),
                       QStringLiteral("需求描述")},
                      parent) {}

void DemandListModel::rowsChanged() {
    customerColumn_ = DemandBook::customerColumn(rows());
}

QString DemandListModel::cell(int row, int column) const {
    switch (column) {
    case KHBS:
        return customerColumn_.at(row);
    case RQ:
        return record(row).RQ;
    case KHXQ:
        return DemandBook::stateText(record(row));
    default:
        return {};
    }
}

} // namespace partners
