#include "partners/CustomerListModel.h"

namespace partners {

CustomerListModel::CustomerListModel(QObject* parent)
    : RecordTableModel({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                        {QStringLiteral("客户名称"), QStringLiteral("MC"), 5000},
                        {QStringLiteral("客户资料"), QStringLiteral("ZL"), 0}},
                       parent) {}

QString CustomerListModel::cellText(int row, int column) const {
    const CustomerRecord& r = record(row);
    return column == MC ? r.KHMC : column == ZL ? r.KHZL : QString();
}

} // namespace partners
