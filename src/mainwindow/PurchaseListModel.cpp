#include "mainwindow/PurchaseListModel.h"

void PurchaseListModel::load(const QueryResult& result, const Options& options) {
    showAmount_ = options.Show_JHZJE;
    const Reader in{result};
    const int id = in.column("ID"), tzid = in.column("TZID"), rq = in.column("RQ"), sl = in.column("SL"),
              zje = in.column("ZJE"), gzje = in.column("GZJE"), jxid = in.column("JXID"),
              khxqid = in.column("KHXQID"), bz = in.column("BZ"), spmc = in.column("SPMC"),
              gys = in.column("GYS"), khzl = in.column("KHZL");
    std::vector<PurchaseRecord>& rows = beginRebuild(result.rows.size());
    double total = 0;
    for (const auto& row : result.rows) {
        rows.push_back({in.id(row, id), in.id(row, tzid), in.date(row, rq), in.number(row, sl),
                        in.number(row, zje), in.number(row, gzje), in.id(row, jxid), in.id(row, khxqid),
                        in.text(row, bz), in.text(row, spmc), in.text(row, gys), in.text(row, khzl)});
        total += rows.back().ZJE;
    }
    endRebuild(total);
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
