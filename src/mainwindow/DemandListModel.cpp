#include "mainwindow/DemandListModel.h"

#include "core/RecordReader.h"

DemandListModel::DemandListModel(QObject* parent)
    : RecordTableModel({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                        {QStringLiteral("登记日期"), QStringLiteral("RQ"), 1300},
                        {QStringLiteral("客户标识"), QStringLiteral("KHBS"), 5000},
                        {QStringLiteral("需求描述"), QStringLiteral("KHXQ"), 0}},
                       parent, &RecordReader::demand) {}

void DemandListModel::load(RowSource& in) {
    rebuild([&](RecordBlocks<DemandRecord>& rows) {
        const RecordReader reader(in);
        while (in.next())
            rows.push_back(reader.demand());
        return 0.0;
    });
}

QString DemandListModel::cellText(int row, int column) const {
    const DemandRecord& r = record(row);
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
