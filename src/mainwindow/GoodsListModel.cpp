#include "mainwindow/GoodsListModel.h"

#include "core/RecordReader.h"
#include "core/Vb.h"

namespace {
const QString kHidden = QStringLiteral("...");
}

GoodsListModel::GoodsListModel(QObject* parent)
    : RecordTableModel({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                        {QStringLiteral("商品标识"), QStringLiteral("SPBS"), 7000},
                        {QStringLiteral("库位"), QStringLiteral("KW"), 1800},
                        {QStringLiteral("库存"), QStringLiteral("KC"), 1000, true},
                        {QStringLiteral("总成本"), QStringLiteral("ZCB"), 1200, true},
                        {QStringLiteral("售价"), QStringLiteral("SJ"), 0}},
                       parent) {}

void GoodsListModel::load(RowSource& in, const Options& options) {
    showCost_ = options.Show_ZCB;
    showRetail_ = options.Show_LSJ;
    showWholesale_ = options.Show_PFJ;
    showTransfer_ = options.Show_DBJ;
    rebuild([&](RecordBlocks<GoodsRecord>& rows) {
        const RecordReader reader(in);
        double total = 0;
        while (in.next()) {
            rows.push_back(reader.goods());
            total += rows.back().ZCB;
        }
        return total;
    });
}

QString GoodsListModel::cellText(int row, int column) const {
    const GoodsRecord& r = record(row);
    switch (column) {
    case Goods:
        return r.label;
    case Place:
        return r.KW;
    case Stock:
        return vb::CStr(r.ZKC) + QLatin1Char('/') + vb::CStr(r.KCmin);
    case TotalCost:
        return showCost_ ? vb::CStr(r.ZCB) : kHidden;
    case Prices:
        return (showRetail_ ? vb::CStr(r.LSJ) : kHidden) + QLatin1Char('/') +
               (showWholesale_ ? vb::CStr(r.PFJ) : kHidden) + QLatin1Char('/') +
               (showTransfer_ ? vb::CStr(r.DBJ) : kHidden);
    default:
        return {};
    }
}
