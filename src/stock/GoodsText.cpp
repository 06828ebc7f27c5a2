#include "stock/GoodsText.h"

#include "core/Vb.h"

QStringList GoodsText::lines(const GoodsRecord& g) {
    return {QStringLiteral("商品：") + g.MC + QLatin1Char('(') + g.JC + QLatin1Char(')'),
            QStringLiteral("型号：") + g.XH, QStringLiteral("库位：") + g.KW,
            QStringLiteral("库存：") + vb::CStr(g.ZKC) + QStringLiteral("    最小库存：") +
                vb::CStr(g.KCmin)};
}

QString GoodsText::priceLine(const GoodsRecord& g, const Options& options) {
    const QString gap(10, QLatin1Char(' '));
    QString line;
    if (options.Show_LSJ) line += QStringLiteral("零售价：") + vb::CStr(g.LSJ) + gap;
    if (options.Show_PFJ) line += QStringLiteral("批发价：") + vb::CStr(g.PFJ) + gap;
    if (options.Show_DBJ) line += QStringLiteral("调拨价：") + vb::CStr(g.DBJ);
    return line;
}

QString GoodsText::forPurchase(const GoodsRecord& g) {
    return lines(g).join(QLatin1Char('\n'));
}

QString GoodsText::forSale(const GoodsRecord& g, const Options& options) {
    return lines(g).join(QLatin1Char('\n')) + QLatin1Char('\n') + priceLine(g, options);
}
