#include "mainwindow/SaleListModel.h"

void SaleListModel::load(RowSource& in) {
    const int id = in.columnIndex("ID"), tzid = in.columnIndex("TZID"), rq = in.columnIndex("RQ"),
              sl = in.columnIndex("SL"), zje = in.columnIndex("ZJE"), gzje = in.columnIndex("GZJE"),
              jxid = in.columnIndex("JXID"), khxqid = in.columnIndex("KHXQID"), bz = in.columnIndex("BZ"),
              spmc = in.columnIndex("SPMC"), khzl = in.columnIndex("KHZL"), khxq = in.columnIndex("KHXQ");
    rebuild([&](std::vector<SaleRecord>& rows) {
        double total = 0;
        while (in.next()) {
            rows.push_back({in.id(id), in.id(tzid), in.dateText(rq), in.number(sl), in.number(zje),
                            in.number(gzje), in.id(jxid), in.id(khxqid), in.text(bz), in.text(spmc),
                            in.text(khzl), in.text(khxq)});
            total += rows.back().ZJE;
        }
        return total;
    });
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
