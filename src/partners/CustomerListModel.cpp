#include "partners/CustomerListModel.h"

namespace partners {

CustomerListModel::CustomerListModel(QObject* parent)
    : RecordListModel({QStringLiteral("序号"), QStringLiteral("客户名称"), QStringLiteral("客户资料")},
                      parent) {}

QString CustomerListModel::cell(int row, int column) const {
    const CustomerRecord& r = record(row);
    return column == MC ? r.KHMC : column == ZL ? r.KHZL : QString();
}

} // namespace partners
