#include "mainwindow/SaleListModel.h"

void SaleListModel::load(RowSource& rows) {
    loadMovements(rows, "KHZL", "KHXQ");
}

QString SaleListModel::cellText(const SaleRecord& r, int column) const {
    switch (column) {
    case Date:
        return r.RQ;
    case Goods:
        return r.SPMC;
    case Quantity:
        return vb::CStr(r.SL);
    case Amount:
        return r.GZJE > 0 ? vb::CStr(r.ZJE) + QLatin1Char('/') + vb::CStr(r.GZJE) : vb::CStr(r.ZJE);
    case Note:
        return r.BZ + QLatin1Char('/') + r.KHZL + QLatin1Char('/') + r.KHXQ;
    default:
        return {};
    }
}
