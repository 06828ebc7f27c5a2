// The ledger's arithmetic, refusals and all-or-nothing writes, on a fresh data file.
#include "LedgerTestSupport.h"

#include "core/Vb.h"
#include "support/FaultyDisk.h"

#include <tuple>

// Bookings on one goods item, each "what: after" and "|" between them. What: 'R' its
// registration, 'P' a purchase, 'S' a sale, 'p' / 's' an edit of its first purchase / sale
// (quantity, amount), 'U' / 'u' the undo of its last sale / purchase. After: the stock, its
// cost and unit cost (a fraction where it does not end), or the refusal (and the stock stays).
TEST_F(LedgerTest, StockCostAndUnitCostAfterEachBooking) {
    const char* const cases[] = {
        // A sale keeps the unit cost; the cost is rounded, the unit cost not; a sale edit keeps
        // the cost whatever the amount; the whole stock may go, a hundredth more may not.
        "R 3 10: 3 10 10/3 | S 1: 2 6.67 10/3 | s 1 99: 2 6.67 10/3 | S 2.01: 商品数量错误, 保存失败！ | "
        "S 2: 0 0 10/3",
        // Purchases average the cost; quantities are rounded first, amounts to the even hundredth.
        "R 10 50: 10 50 5 | P 10 70: 20 120 6 | P 0.004 1: 商品数量错误, 保存失败！ | "
        "P -3 1: 商品数量错误, 保存失败！ | P 0.006 0.125: 20.01 120.12 120.12/20.01",
        // A leftover cost without stock goes into the next average.
        "R 0 5: 0 5 0 | P 5 20: 5 25 5",
        // A purchase edit carries the difference, not below what was sold of it.
        "R 10 50: 10 50 5 | S 4: 6 30 5 | p 10 60: 6 40 5 | p 3.99 60: 商品数量错误, 保存失败！ | "
        "p 4 60: 0 40 5",
        // In doubles 0.8 − 0.1 is 0.7000000000000001.
        "R 0.8 8: 0.8 8 10 | S 0.7: 0.1 1 10 | p 0.69 8: 商品数量错误, 保存失败！ | p 0.7 8: 0 1 10",
        // A sale edit rebuilds the cost from the unit cost, dropping a rounding leftover.
        "R 20 120: 20 120 6 | S 5: 15 90 6 | s 8: 12 72 6 | s 20.01: 商品数量错误, 保存失败！ | s 20: 0 0 6",
        // In doubles 0.7 + 0.1 is 0.7999999999999999.
        "R 0.8 8: 0.8 8 10 | S 0.1: 0.7 7 10 | s 0.81: 商品数量错误, 保存失败！ | s 0.8: 0 0 10",
        // Undone sales come back at the unit cost, whatever they were sold for.
        "R 8 20: 8 20 2.5 | S 3 99: 5 12.5 2.5 | S 1 99: 4 10 2.5 | U: 5 12.5 2.5 | U: 8 20 2.5",
        // A purchase is undone with its amount, only while its quantity is in stock.
        "R 4 10: 4 10 2.5 | S 1: 3 7.5 2.5 | u: 库存商品数量不足，拒绝本次还原！   | U: 4 10 2.5 | u: 0 0 0",
        "R 4 10: 4 10 2.5 | P 2 7.01: 6 17.01 17.01/6 | u: 4 10 2.5 | p 4 12: 4 12 2.5 | u: 0 0 0",
    };
    const auto yes = [] { return true; };
    const auto number = [](const QString& t) {
        return t.section('/', 0, 0).toDouble() / (t.contains('/') ? t.section('/', 1).toDouble() : 1);
    };
    for (const char* steps : cases) {
        qlonglong g = 0;
        for (const QString& step : QString(steps).split(" | ")) {
            SCOPED_TRACE(step.toStdString());
            const QStringList what = step.section(": ", 0, 0).split(' ');
            const QString after = step.section(": ", 1);
            const MovementFields m = purchase(what.value(1).toDouble(), what.value(2).toDouble());
            const auto record = [&](bool sale) {
                return scalar(QStringLiteral("select %1(ID) from T_IO where TZID=%2")
                                  .arg(what[0] == "p" || what[0] == "s" ? "min" : "max")
                                  .arg(sale ? g : -g))
                    .toLongLong();
            };
            const QString stockBefore =
                rowsText(QStringLiteral("select ZKC,ZCB,DJ from T_TZ where ID=%1").arg(g));
            LedgerResult r;
            if (what[0] == "R") r = ledger.registerGoods(goods("螺丝钉子"), m);
            if (what[0] == "P") r = ledger.bookPurchase(g, m, "x");
            if (what[0] == "S") r = ledger.bookSale(g, m, "x");
            if (what[0] == "p") r = ledger.editPurchase(record(false), m, "x");
            if (what[0] == "s") r = ledger.editSale(record(true), m, "x");
            if (what[0] == "U") r = ledger.undoLastSale(saleRecord(record(true)), yes);
            if (what[0] == "u") r = ledger.undoLastPurchase(purchaseRecord(record(false)), yes);
            if (what[0] == "R") g = r.id;
            if (after[0].isDigit()) {
                const QStringList figures = after.split(' ');
                EXPECT_EQ(r.message, "");
                expectStock(g, number(figures[0]), number(figures[1]), number(figures[2]));
            } else {
                EXPECT_EQ(r.message, after);
                EXPECT_EQ(rowsText(QStringLiteral("select ZKC,ZCB,DJ from T_TZ where ID=%1").arg(g)),
                          stockBefore);
            }
        }
    }
}

TEST_F(LedgerTest, TheMovementRowsAsStored) {
    // A sale: positive TZID, the typed figures rounded, the note cleaned, the log line given.
    const qlonglong a = registerItem("螺丝钉子", 20, 120);
    const LedgerResult s = ledger.bookSale(a, {1, 12.346, 2, QDate(2009, 1, 9), 4, 9, "  it's ok "},
                                           QStringLiteral("售出登记:螺丝钉子(LSDZ)"));
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(movement(s.id, "TZID,SL,ZJE,GZJE,JXID,KHXQID,BZ"),
              QStringLiteral("%1|1|12.35|2|4|9|its ok").arg(a));
    EXPECT_EQ(log().last(), "售出登记:螺丝钉子(LSDZ)");
    const LedgerResult p = ledger.bookPurchase(a, purchase(10, 70), "x");
    EXPECT_EQ(movement(p.id), QStringLiteral("-%1|10|70").arg(a));

    // Edits store the figures as typed.
    ASSERT_TRUE(ledger.editPurchase(p.id, {4, 60, 0, QDate(2009, 1, 9), 7, 0, "改'过"}, "x").ok());
    EXPECT_EQ(movement(p.id, "TZID,SL,ZJE,JXID,BZ"), QStringLiteral("-%1|4|60|7|改过").arg(a));
    ASSERT_TRUE(ledger.editSale(s.id, purchase(1, 99), "x").ok());
    EXPECT_EQ(movement(s.id, "ZJE"), "99");
    // A sale record is not a purchase record.
    EXPECT_EQ(ledger.editPurchase(s.id, purchase(1, 1), "x").status, LedgerResult::Status::Failed);
}

TEST_F(LedgerTest, RegistrationWithAndWithoutFirstPurchase) {
    GoodsFields g{"  螺丝'钉子 ", "LS'DZ", "M8'", "A1", 5.555, 1.125, 2, 3};
    const LedgerResult r = ledger.registerGoods(g, {10, 55, 5, QDate(2009, 1, 9), 2, 3, ""});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(
        rowsText(QStringLiteral("select MC,JC,XH,KCmin,LSJ,ZKC,ZCB,DJ from T_TZ where ID=%1").arg(r.id)),
        "螺丝钉子|LSDZ|M8|5.56|1.12|10|55|5.5");
    EXPECT_FALSE(vb::Number(scalar(QStringLiteral("select BJ from T_TZ where ID=%1").arg(r.id))));
    EXPECT_EQ(count("T_IO"), 1);
    EXPECT_EQ(movement(firstPurchaseOf(r.id), "SL,GZJE,JXID,KHXQID"), "10|5|2|3");
    EXPECT_EQ(log().last(), "新商品注册入库:螺丝钉子(M8)");

    // Without a quantity: no movement, the amount as entered, unit cost 0 (never Null).
    const LedgerResult bare = ledger.registerGoods(goods("abcd"), purchase(0, 55));
    ASSERT_TRUE(bare.ok());
    EXPECT_EQ(count("T_IO"), 1);
    EXPECT_EQ(rowsText(QStringLiteral("select ZKC,ZCB,DJ from T_TZ where ID=%1").arg(bare.id)), "0|55|0");
    EXPECT_EQ(log().last(), "新商品注册入库:abcd()");

    // Names under 4 GBK bytes, negative or unstorable numbers write nothing.
    const QStringList before = DumpFile(dataPath());
    const double inf = vb::Val("1e999");
    const std::tuple<GoodsFields, MovementFields, QString> refused[] = {
        {goods("螺"), {}, "商品名称最少4个西文字符, 保存失败！"},
        {goods(" ' ab' "), {}, "商品名称最少4个西文字符, 保存失败！"},
        {goods("abcd"), purchase(-1, 0), "商品数量错误, 保存失败！"},
        {goods("abcd"), purchase(inf, 0), "商品数量错误, 保存失败！"},
        {goods("abcd"), purchase(1, inf), "金额错误, 保存失败！"},
        {{"abcd", "", "", "", 0, inf, 0, 0}, {}, "数值错误, 保存失败！"}};
    for (const auto& [g, m, message] : refused)
        EXPECT_EQ(ledger.registerGoods(g, m).message, message) << g.MC.toStdString();
    EXPECT_EQ(DumpFile(dataPath()), before);
}

TEST_F(LedgerTest, SaleDateAgainstTheFirstPurchase) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50, QDate(2009, 1, 9));
    ASSERT_TRUE(ledger.bookPurchase(a, purchase(5, 25, QDate(2008, 12, 31)), "x")
                    .ok()); // entered later, dated earlier
    EXPECT_EQ(ledger.bookSale(a, sale(1, QDate(2008, 12, 30)), "x").message, "日 期 有 误 , 保 存 失 败 ！");
    const LedgerResult r = ledger.bookSale(a, sale(1, QDate(2008, 12, 31)), "x");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(ledger.editSale(r.id, sale(1, QDate(2008, 12, 30)), "x").message,
              "日 期 有 误 , 保 存 失 败 ！");
    EXPECT_TRUE(ledger.editSale(r.id, sale(1, QDate(2009, 1, 1)), "x").ok());

    // Stock but no purchase record (removed outside the program): the sale is accepted.
    const qlonglong b = registerItem("扳手工具", 10, 50);
    session.execSql(QStringLiteral("delete from T_IO where TZID=-%1").arg(b));
    EXPECT_TRUE(ledger.bookSale(b, sale(2, QDate(1990, 1, 1)), "x").ok());
    expectStock(b, 8, 40, 5);
}

TEST_F(LedgerTest, TheStockOnFileDecidesNotTheLoadedList) {
    // The list showed 5 in stock; another sale has taken them since.
    const qlonglong a = registerItem("螺丝钉子", 5, 50);
    ASSERT_TRUE(ledger.bookSale(a, sale(5), "x").ok());
    EXPECT_EQ(ledger.bookSale(a, sale(5), "x").message, "商品数量错误, 保存失败！");
    expectStock(a, 0, 0, 10);

    // A sales edit opened when the stock was higher.
    const qlonglong b = registerItem("扳手工具", 10, 50);
    const LedgerResult s = ledger.bookSale(b, sale(2), "x");
    ASSERT_TRUE(ledger.bookSale(b, sale(8), "x").ok());
    EXPECT_EQ(ledger.editSale(s.id, sale(3), "x").message, "商品数量错误, 保存失败！");
    ASSERT_TRUE(ledger.editSale(s.id, sale(2), "x").ok());
    expectStock(b, 0, 0, 5);

    // A purchase edit uses the record as stored, not the figures of an older list.
    const qlonglong c = registerItem("铁锤工具", 10, 50);
    const qlonglong p = firstPurchaseOf(c);
    ASSERT_TRUE(ledger.editPurchase(p, purchase(12, 60), "x").ok());
    ASSERT_TRUE(ledger.editPurchase(p, purchase(12, 60), "x").ok()); // saved twice from the same list
    expectStock(c, 12, 60, 5);
}

TEST_F(LedgerTest, OnlyTheLastEnteredIsUndoneAndOnlyWhenConfirmed) {
    const qlonglong a = registerItem("螺丝钉子", 8, 20);
    const SaleRecord first = saleRecord(ledger.bookSale(a, sale(3, QDate(2010, 5, 1)), "x").id);
    const SaleRecord second = saleRecord(ledger.bookSale(a, sale(1, QDate(2010, 1, 1)), "x").id);
    const int logs = count("T_txt");
    bool asked = false;
    const auto yes = [&] { return asked = true; };
    EXPECT_EQ(ledger.undoLastSale(first, yes).message, "仅可以撤销本商品的最后一次销售记录！    ");
    EXPECT_FALSE(asked);
    EXPECT_EQ(ledger.undoLastSale(second, [] { return false; }).status, LedgerResult::Status::Cancelled);
    expectStock(a, 4, 10, 2.5);
    ASSERT_TRUE(ledger.undoLastSale(second, yes).ok());
    EXPECT_TRUE(asked);
    ASSERT_TRUE(ledger.undoLastSale(first, yes).ok());
    EXPECT_EQ(count("T_txt"), logs); // undos are not logged
    EXPECT_EQ(ledger.undoLastSale(first, yes).message, "仅可以撤销本商品的最后一次销售记录！    ");

    const PurchaseRecord older = purchaseRecord(firstPurchaseOf(a));
    const PurchaseRecord newer = purchaseRecord(ledger.bookPurchase(a, purchase(2, 7), "x").id);
    EXPECT_EQ(ledger.undoLastPurchase(older, yes).message, "仅可以撤销本商品的最后一次进货记录！    ");
    ASSERT_TRUE(ledger.undoLastPurchase(newer, yes).ok());
    ASSERT_TRUE(ledger.undoLastPurchase(older, yes).ok());
    // A leftover cost stays, with unit cost 0.
    session.execSql(QStringLiteral("update T_TZ set ZCB=3 where ID=%1").arg(a));
    const PurchaseRecord last = purchaseRecord(ledger.bookPurchase(a, purchase(2, 5), "x").id);
    expectStock(a, 2, 8, 4);
    ASSERT_TRUE(ledger.undoLastPurchase(last, yes).ok());
    expectStock(a, 0, 3, 0);
}
