#include "mainwindow/SupplierListModel.h"

void SupplierListModel::load(RowSource& in) {
    const int id = in.columnIndex("ID"), mc = in.columnIndex("GYSMC"), pz = in.columnIndex("GHPZ"),
              zl = in.columnIndex("GYSZL");
    rebuild([&](std::vector<SupplierRecord>& rows) {
        while (in.next()) {
            SupplierRecord r{in.id(id), in.text(mc), in.text(pz), in.text(zl), {}};
            r.label = r.GYSMC + QLatin1Char('(') + r.GYSZL + QLatin1Char(')');
            rows.push_back(std::move(r));
        }
        return 0.0;
    });
}

QString SupplierListModel::cellText(const SupplierRecord& r, int column) const {
    switch (column) {
    case Supplier:
        return r.label;
    case Kinds:
        return r.GHPZ;
    default:
        return {};
    }
}
