#include "partners/SupplierListModel.h"

namespace partners {

SupplierListModel::SupplierListModel(QObject* parent)
    : RecordListModel({QStringLiteral("序号"), QStringLiteral("供应商标识"), QStringLiteral("供货品种")},
                      parent) {}

QString SupplierListModel::cell(int row, int column) const {
    const SupplierRecord& r = record(row);
    return column == GYS ? r.label : column == GHPZ ? r.GHPZ : QString();
}

} // namespace partners
