#include "partners/SupplierListModel.h"

#include "core/RecordReader.h"

namespace partners {

SupplierListModel::SupplierListModel(int nameTwips, QObject* parent)
    : RecordTableModel({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                        {QStringLiteral("供应商标识"), QStringLiteral("GYS"), nameTwips},
                        {QStringLiteral("供货品种"), QStringLiteral("GHPZ"), 0}},
                       parent, &RecordReader::supplier) {}

void SupplierListModel::load(RowSource& in) {
    rebuild([&](RecordBlocks<SupplierRecord>& rows) {
        const RecordReader reader(in);
        while (in.next())
            rows.push_back(reader.supplier());
        return 0.0;
    });
}

QString SupplierListModel::cellText(int row, int column) const {
    const SupplierRecord& r = record(row);
    return column == GYS ? r.label : column == GHPZ ? r.GHPZ : QString();
}

} // namespace partners
