#include "mainwindow/SaleListModel.h"

void SaleListModel::load(const QueryResult& result) {
    const Reader in{result};
    const int id = in.column("ID"), tzid = in.column("TZID"), rq = in.column("RQ"), sl = in.column("SL"),
              zje = in.column("ZJE"), gzje = in.column("GZJE"), jxid = in.column("JXID"),
              khxqid = in.column("KHXQID"), bz = in.column("BZ"), spmc = in.column("SPMC"),
              khzl = in.column("KHZL"), khxq = in.column("KHXQ");
    std::vector<SaleRecord>& rows = beginRebuild(result.rows.size());
    double total = 0;
    for (const auto& row : result.rows) {
        rows.push_back({in.id(row, id), in.id(row, tzid), in.date(row, rq), in.number(row, sl),
                        in.number(row, zje), in.number(row, gzje), in.id(row, jxid), in.id(row, khxqid),
                        in.text(row, bz), in.text(row, spmc), in.text(row, khzl), in.text(row, khxq)});
        total += rows.back().ZJE;
    }
    endRebuild(total);
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
