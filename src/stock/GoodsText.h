#pragma once
// The description of a goods item that the movement forms show in txtSP.
#include "core/Options.h"
#include "core/Records.h"

#include <QStringList>

class GoodsText {
public:
    // "商品：MC(JC)", "型号：XH", "库位：KW", "库存：ZKC    最小库存：KCmin".
    static QStringList lines(const GoodsRecord& g);
    // The prices the display switches let show, each but the last followed by ten blanks;
    // empty when all are hidden.
    static QString priceLine(const GoodsRecord& g, const Options& options);
    // The purchase forms: the four lines. The sales forms: each line ended, then the prices.
    static QString forPurchase(const GoodsRecord& g);
    static QString forSale(const GoodsRecord& g, const Options& options);
};
