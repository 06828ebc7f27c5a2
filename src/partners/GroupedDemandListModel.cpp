#include "partners/GroupedDemandListModel.h"

#include "partners/DemandBook.h"

namespace partners {

GroupedDemandListModel::GroupedDemandListModel(QObject* parent)
    : RecordTableModel({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                        {QStringLiteral("客户标识"), QStringLiteral("KHBS"), 4200},
                        {QStringLiteral("登记日期"), QStringLiteral("RQ"), 1300},
                        {QStringLiteral("需求描述"), QStringLiteral("KHXQ"), 0}},
                       parent) {}

void GroupedDemandListModel::rowsChanged() {
    // The label on the first row of each run of one customer's rows, " ... (2)", " ... (3)" on
    // the rows after it.
    customerColumn_.clear();
    customerColumn_.reserve(rowCount());
    int group = 1;
    for (int i = 0; i < rowCount(); ++i) {
        if (i > 0 && record(i).KH == record(i - 1).KH) {
            ++group;
            customerColumn_ << QStringLiteral(" ... (") + QString::number(group) + QLatin1Char(')');
        } else {
            group = 1;
            customerColumn_ << record(i).KH;
        }
    }
}

QString GroupedDemandListModel::cellText(int row, int column) const {
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
