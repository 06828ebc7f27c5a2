#include "mainwindow/PurchaseListModel.h"

void PurchaseListModel::load(RowSource& rows, const Options& options) {
    showAmount_ = options.Show_JHZJE;
    loadMovements(rows, "GYS", "KHZL");
}

QString PurchaseListModel::cellText(const PurchaseRecord& r, int column) const {
    switch (column) {
    case Date:
        return r.RQ;
    case Goods:
        return r.SPMC;
    case Quantity:
        return vb::CStr(r.SL);
    case Amount: {
        const QString amount = showAmount_ ? vb::CStr(r.ZJE) : QStringLiteral("...");
        return r.GZJE > 0 ? amount + QLatin1Char('/') + vb::CStr(r.GZJE) : amount;
    }
    case Note:
        return r.BZ + QLatin1Char('/') + r.GYS + QLatin1Char('/') + r.KHZL;
    default:
        return {};
    }
}
