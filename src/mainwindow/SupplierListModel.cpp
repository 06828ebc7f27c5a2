#include "mainwindow/SupplierListModel.h"

void SupplierListModel::load(const QueryResult& result) {
    const Reader in{result};
    const int id = in.column("ID"), mc = in.column("GYSMC"), pz = in.column("GHPZ"), zl = in.column("GYSZL");
    std::vector<SupplierRecord>& rows = beginRebuild(result.rows.size());
    for (const auto& row : result.rows) {
        SupplierRecord r{in.id(row, id), in.text(row, mc), in.text(row, pz), in.text(row, zl), {}};
        r.label = r.GYSMC + QLatin1Char('(') + r.GYSZL + QLatin1Char(')');
        rows.push_back(std::move(r));
    }
    endRebuild(0);
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
