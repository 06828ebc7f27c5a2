#include "mainwindow/GoodsListModel.h"

namespace {
const QString kHidden = QStringLiteral("...");
}

void GoodsListModel::load(RowSource& in, const Options& options) {
    showCost_ = options.Show_ZCB;
    showRetail_ = options.Show_LSJ;
    showWholesale_ = options.Show_PFJ;
    showTransfer_ = options.Show_DBJ;
    const int id = in.columnIndex("ID"), jc = in.columnIndex("JC"), mc = in.columnIndex("MC"),
              xh = in.columnIndex("XH"), kw = in.columnIndex("KW"), kcmin = in.columnIndex("KCmin"),
              zkc = in.columnIndex("ZKC"), zcb = in.columnIndex("ZCB"), lsj = in.columnIndex("LSJ"),
              pfj = in.columnIndex("PFJ"), dbj = in.columnIndex("DBJ");
    rebuild([&](std::vector<GoodsRecord>& rows) {
        double total = 0;
        while (in.next()) {
            GoodsRecord r{in.id(id),      in.text(jc),      in.text(mc),    in.text(xh),
                          in.text(kw),    in.number(kcmin), in.number(zkc), in.number(zcb),
                          in.number(lsj), in.number(pfj),   in.number(dbj), {}};
            r.label = r.MC + QLatin1Char('/') + r.JC + QLatin1Char('/') + r.XH;
            total += r.ZCB;
            rows.push_back(std::move(r));
        }
        return total;
    });
}

QString GoodsListModel::cellText(const GoodsRecord& r, int column) const {
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
