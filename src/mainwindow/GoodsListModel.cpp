#include "mainwindow/GoodsListModel.h"

namespace {
const QString kHidden = QStringLiteral("...");
}

void GoodsListModel::load(const QueryResult& result, const Options& options) {
    showCost_ = options.Show_ZCB;
    showRetail_ = options.Show_LSJ;
    showWholesale_ = options.Show_PFJ;
    showTransfer_ = options.Show_DBJ;
    const Reader in{result};
    const int id = in.column("ID"), jc = in.column("JC"), mc = in.column("MC"), xh = in.column("XH"),
              kw = in.column("KW"), kcmin = in.column("KCmin"), zkc = in.column("ZKC"),
              zcb = in.column("ZCB"), lsj = in.column("LSJ"), pfj = in.column("PFJ"), dbj = in.column("DBJ");
    std::vector<GoodsRecord>& rows = beginRebuild(result.rows.size());
    double total = 0;
    for (const auto& row : result.rows) {
        GoodsRecord r{in.id(row, id),      in.text(row, jc),      in.text(row, mc),    in.text(row, xh),
                      in.text(row, kw),    in.number(row, kcmin), in.number(row, zkc), in.number(row, zcb),
                      in.number(row, lsj), in.number(row, pfj),   in.number(row, dbj), {}};
        r.label = r.MC + QLatin1Char('/') + r.JC + QLatin1Char('/') + r.XH;
        total += r.ZCB;
        rows.push_back(std::move(r));
    }
    endRebuild(total);
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
