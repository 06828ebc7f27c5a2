#include "mainwindow/PurchaseListModel.h"

void PurchaseListModel::load(RowSource& in, const Options& options) {
    showAmount_ = options.Show_JHZJE;
    const int id = in.columnIndex("ID"), tzid = in.columnIndex("TZID"), rq = in.columnIndex("RQ"),
              sl = in.columnIndex("SL"), zje = in.columnIndex("ZJE"), gzje = in.columnIndex("GZJE"),
              jxid = in.columnIndex("JXID"), khxqid = in.columnIndex("KHXQID"), bz = in.columnIndex("BZ"),
              spmc = in.columnIndex("SPMC"), gys = in.columnIndex("GYS"), khzl = in.columnIndex("KHZL");
    rebuild([&](std::vector<PurchaseRecord>& rows) {
        double total = 0;
        while (in.next()) {
            rows.push_back({in.id(id), in.id(tzid), in.dateText(rq), in.number(sl), in.number(zje),
                            in.number(gzje), in.id(jxid), in.id(khxqid), in.text(bz), in.text(spmc),
                            in.text(gys), in.text(khzl)});
            total += rows.back().ZJE;
        }
        return total;
    });
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
