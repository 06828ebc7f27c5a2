#include "mainwindow/DemandListModel.h"

void DemandListModel::load(const QueryResult& result) {
    const Reader in{result};
    const int id = in.column("ID"), rq = in.column("RQ"), khid = in.column("KHID"), khxq = in.column("KHXQ"),
              bj = in.column("BJ"), kh = in.column("KH");
    std::vector<DemandRecord>& rows = beginRebuild(result.rows.size());
    for (const auto& row : result.rows)
        rows.push_back({in.id(row, id), in.date(row, rq), in.id(row, khid), in.text(row, khxq),
                        in.flag(row, bj), in.text(row, kh)});
    endRebuild(0);
}

QString DemandListModel::cellText(const DemandRecord& r, int column) const {
    switch (column) {
    case Date:
        return r.RQ;
    case Customer:
        return r.KH;
    case Demand:
        return (r.BJ ? QStringLiteral("已了") : QStringLiteral("未了")) + QLatin1Char('|') + r.KHXQ;
    default:
        return {};
    }
}
