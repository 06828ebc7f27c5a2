#include "mainwindow/DemandListModel.h"

void DemandListModel::load(RowSource& in) {
    const int id = in.columnIndex("ID"), rq = in.columnIndex("RQ"), khid = in.columnIndex("KHID"),
              khxq = in.columnIndex("KHXQ"), bj = in.columnIndex("BJ"), kh = in.columnIndex("KH");
    rebuild([&](std::vector<DemandRecord>& rows) {
        while (in.next())
            rows.push_back(
                {in.id(id), in.dateText(rq), in.id(khid), in.text(khxq), in.flag(bj), in.text(kh)});
        return 0.0;
    });
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
