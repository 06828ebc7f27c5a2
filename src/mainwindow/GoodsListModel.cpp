#include "mainwindow/GoodsListModel.h"

#include "core/RecordReader.h"
#include "core/Vb.h"

#include <QBrush>
#include <QPainter>
#include <QPixmap>

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
                       parent, &RecordReader::goods, QStringLiteral("ZCB")) {}

void GoodsListModel::applyOptions(const Options& options) {
    showCost_ = options.Show_ZCB;
    showRetail_ = options.Show_LSJ;
    showWholesale_ = options.Show_PFJ;
    showTransfer_ = options.Show_DBJ;
}

void GoodsListModel::load(RowSource& in, const Options& options) {
    applyOptions(options);
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

QVariant GoodsListModel::data(const QModelIndex& index, int role) const {
    const bool marked =
        role == Qt::BackgroundRole || role == Qt::ForegroundRole || role == Qt::DecorationRole;
    if (!marked || !index.isValid() || index.row() >= rowCount() || !isLowStock(record(index.row())))
        return RecordTableModel::data(index, role);
    switch (role) {
    case Qt::BackgroundRole:
        return QBrush(QColor(0xfc, 0xe1, 0xd9));
    case Qt::ForegroundRole:
        return QBrush(QColor(0xa3, 0x1f, 0x14));
    default:
        if (index.column() != Stock) return {};
        if (lowMarker_.isNull()) {
            // A small downward triangle: the stock has fallen below its minimum. Small, so that
            // the narrow stock column keeps room for its figures.
            QPixmap p(20, 20);
            p.fill(Qt::transparent);
            QPainter painter(&p);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xd2, 0x2b, 0x1e));
            painter.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(19, 4), QPointF(10, 17)}));
            painter.end();
            lowMarker_ = QIcon(p);
        }
        return lowMarker_;
    }
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
