// The ledger's arithmetic, refusals and all-or-nothing writes, on a fresh data file.
#include "LedgerTestSupport.h"

#include "core/Vb.h"

#include <cmath>

TEST_F(LedgerTest, SalesKeepTheUnitCost) {
    const qlonglong a = registerItem("螺丝钉子", 20, 120);
    ASSERT_TRUE(ledger.bookSale(a, sale(5), QStringLiteral("售出登记:螺丝钉子(LSDZ)")).ok());
    expectStock(a, 15, 90, 6);

    const qlonglong b = registerItem("扳手工具", 3, 10);
    ASSERT_TRUE(ledger.bookSale(b, sale(1), "x").ok());
    expectStock(b, 2, 6.67, 10.0 / 3);

    // The whole stock may go; a hundredth more may not.
    const qlonglong c = registerItem("铁锤工具", 3, 10);
    EXPECT_EQ(ledger.bookSale(c, sale(3.01), "x").message, "商品数量错误, 保存失败！");
    ASSERT_TRUE(ledger.bookSale(c, sale(3), "x").ok());
    expectStock(c, 0, 0, 10.0 / 3);

    // The sale row: positive TZID, the typed figures rounded, the note cleaned.
    MovementFields m = sale(1);
    m.ZJE = 12.346;
    m.GZJE = 2;
    m.BZ = QStringLiteral("  it's ok ");
    m.JXID = 4;
    m.KHXQID = 9;
    const LedgerResult r = ledger.bookSale(a, m, QStringLiteral("售出登记:螺丝钉子(LSDZ)"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(movement(r.id, "TZID,SL,ZJE,GZJE,JXID,KHXQID,BZ"),
              QStringLiteral("%1|1|12.35|2|4|9|its ok").arg(a));
    EXPECT_EQ(lastLog(), "售出登记:螺丝钉子(LSDZ)");
}

TEST_F(LedgerTest, PurchasesAverageTheCost) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    const LedgerResult r =
        ledger.bookPurchase(a, purchase(10, 70), QStringLiteral("进货登记:螺丝钉子(LSDZ)"));
    ASSERT_TRUE(r.ok());
    expectStock(a, 20, 120, 6);
    EXPECT_EQ(movement(r.id), QStringLiteral("-%1|10|70").arg(a));
    EXPECT_EQ(lastLog(), "进货登记:螺丝钉子(LSDZ)");

    // Quantities are rounded first: 0.004 is nothing, 0.006 is a hundredth.
    EXPECT_EQ(ledger.bookPurchase(a, purchase(0.004, 1), "x").message, "商品数量错误, 保存失败！");
    EXPECT_EQ(ledger.bookPurchase(a, purchase(-3, 1), "x").message, "商品数量错误, 保存失败！");
    ASSERT_TRUE(ledger.bookPurchase(a, purchase(0.006, 0.125), "x").ok());
    expectStock(a, 20.01, 120.12, 120.12 / 20.01); // 0.125 rounds to the even 0.12

    // A leftover cost without stock (after a purchase edit) goes into the next average.
    const qlonglong b = registerItem("扳手工具", 0, 5);
    expectStock(b, 0, 5, 0);
    ASSERT_TRUE(ledger.bookPurchase(b, purchase(5, 20), "x").ok());
    expectStock(b, 5, 25, 5);
}

TEST_F(LedgerTest, RegistrationWithAndWithoutFirstPurchase) {
    GoodsFields g{"  螺丝'钉子 ", "LS'DZ", "M8'", "A1", 5.555, 1.125, 2, 3};
    MovementFields first = purchase(10, 55);
    first.GZJE = 5;
    first.JXID = 2;
    first.KHXQID = 3;
    const LedgerResult r = ledger.registerGoods(g, first);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(
        rowsText(QStringLiteral("select MC,JC,XH,KCmin,LSJ,ZKC,ZCB,DJ from T_TZ where ID=%1").arg(r.id)),
        "螺丝钉子|LSDZ|M8|5.56|1.12|10|55|5.5");
    EXPECT_FALSE(vb::Number(scalar(QStringLiteral("select BJ from T_TZ where ID=%1").arg(r.id))));
    EXPECT_EQ(count("T_IO"), 1);
    EXPECT_EQ(movement(firstPurchaseOf(r.id), "SL,GZJE,JXID,KHXQID"), "10|5|2|3");
    EXPECT_EQ(lastLog(), "新商品注册入库:螺丝钉子(M8)");

    // Without a quantity: no movement, the amount as entered, unit cost 0 (never Null).
    const LedgerResult bare = ledger.registerGoods(goods("abcd"), purchase(0, 55));
    ASSERT_TRUE(bare.ok());
    EXPECT_EQ(count("T_IO"), 1);
    EXPECT_EQ(rowsText(QStringLiteral("select ZKC,ZCB,DJ from T_TZ where ID=%1").arg(bare.id)), "0|55|0");
    EXPECT_EQ(lastLog(), "新商品注册入库:abcd()");

    // Names under 4 GBK bytes, negative or unstorable numbers write nothing.
    const QString before = dump();
    const double inf = vb::Val("1e999");
    GoodsFields noPrice = goods("abcd");
    noPrice.LSJ = inf;
    const std::tuple<GoodsFields, MovementFields, QString> refused[] = {
        {goods("螺"), {}, "商品名称最少4个西文字符, 保存失败！"},
        {goods("abc"), {}, "商品名称最少4个西文字符, 保存失败！"},
        {goods(" ' ab' "), {}, "商品名称最少4个西文字符, 保存失败！"},
        {goods("abcd"), purchase(-1, 0), "商品数量错误, 保存失败！"},
        {goods("abcd"), purchase(inf, 0), "商品数量错误, 保存失败！"},
        {goods("abcd"), purchase(std::nan(""), 0), "商品数量错误, 保存失败！"},
        {goods("abcd"), purchase(1, inf), "金额错误, 保存失败！"},
        {noPrice, {}, "数值错误, 保存失败！"}};
    for (const auto& [g, m, message] : refused)
        EXPECT_EQ(ledger.registerGoods(g, m).message, message) << g.MC.toStdString();
    EXPECT_EQ(dump(), before);
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

TEST_F(LedgerTest, PurchaseEditCarriesTheDifference) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    const qlonglong p = firstPurchaseOf(a);
    ASSERT_TRUE(ledger.bookSale(a, sale(4), "x").ok());
    expectStock(a, 6, 30, 5);

    // Only the amount: the cost moves, stock and unit cost stay.
    ASSERT_TRUE(ledger.editPurchase(p, purchase(10, 60), QStringLiteral("修改进货记录:螺丝钉子(LSDZ)")).ok());
    expectStock(a, 6, 40, 5);
    EXPECT_EQ(lastLog(), "修改进货记录:螺丝钉子(LSDZ)");

    // Not below what has been sold of it.
    EXPECT_EQ(ledger.editPurchase(p, purchase(3.99, 60), "x").message, "商品数量错误, 保存失败！");
    MovementFields m = purchase(4, 60);
    m.BZ = QStringLiteral("改'过");
    m.JXID = 7;
    ASSERT_TRUE(ledger.editPurchase(p, m, "x").ok());
    expectStock(a, 0, 40, 5);
    EXPECT_EQ(movement(p, "TZID,SL,ZJE,JXID,BZ"), QStringLiteral("-%1|4|60|7|改过").arg(a));

    // The bound on rounded figures: in doubles 0.8 − 0.1 is 0.7000000000000001.
    const qlonglong c = registerItem("铁锤工具", 0.8, 8);
    ASSERT_TRUE(ledger.bookSale(c, sale(0.7), "x").ok());
    EXPECT_EQ(ledger.editPurchase(firstPurchaseOf(c), purchase(0.69, 8), "x").message,
              "商品数量错误, 保存失败！");
    ASSERT_TRUE(ledger.editPurchase(firstPurchaseOf(c), purchase(0.7, 8), "x").ok());
    expectStock(c, 0, 1, 10);

    // A sale record is not a purchase record.
    const qlonglong b = registerItem("扳手工具", 10, 50);
    const LedgerResult s = ledger.bookSale(b, sale(1), "x");
    EXPECT_EQ(ledger.editPurchase(s.id, purchase(1, 1), "x").status, LedgerResult::Status::Failed);
}

TEST_F(LedgerTest, SaleEditRebuildsTheCostFromTheUnitCost) {
    const qlonglong a = registerItem("螺丝钉子", 20, 120);
    const LedgerResult s = ledger.bookSale(a, sale(5), "x");
    expectStock(a, 15, 90, 6);
    ASSERT_TRUE(ledger.editSale(s.id, sale(8), QStringLiteral("修改销售记录:螺丝钉子(LSDZ)")).ok());
    expectStock(a, 12, 72, 6);
    EXPECT_EQ(lastLog(), "修改销售记录:螺丝钉子(LSDZ)");
    EXPECT_EQ(ledger.editSale(s.id, sale(20.01), "x").message, "商品数量错误, 保存失败！");
    ASSERT_TRUE(ledger.editSale(s.id, sale(20), "x").ok());
    expectStock(a, 0, 0, 6);

    // The bound on rounded figures: in doubles 0.7 + 0.1 is 0.7999999999999999.
    const qlonglong c = registerItem("铁锤工具", 0.8, 8);
    const LedgerResult u = ledger.bookSale(c, sale(0.1), "x");
    EXPECT_EQ(ledger.editSale(u.id, sale(0.81), "x").message, "商品数量错误, 保存失败！");
    ASSERT_TRUE(ledger.editSale(u.id, sale(0.8), "x").ok());
    expectStock(c, 0, 0, 10);

    // Only the amount: the cost becomes DJ × stock, dropping a rounding leftover.
    const qlonglong b = registerItem("扳手工具", 3, 10);
    const LedgerResult t = ledger.bookSale(b, sale(1), "x");
    expectStock(b, 2, 6.67, 10.0 / 3);
    MovementFields m = sale(1);
    m.ZJE = 99;
    ASSERT_TRUE(ledger.editSale(t.id, m, "x").ok());
    expectStock(b, 2, 6.67, 10.0 / 3);
    EXPECT_EQ(movement(t.id, "ZJE"), "99");
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

TEST_F(LedgerTest, UndoTheLastSale) {
    const qlonglong a = registerItem("螺丝钉子", 8, 20);
    const SaleRecord first = saleRecord(ledger.bookSale(a, sale(3, QDate(2010, 5, 1)), "x").id);
    expectStock(a, 5, 12.5, 2.5);
    const SaleRecord second = saleRecord(ledger.bookSale(a, sale(1, QDate(2010, 1, 1)), "x").id);
    const int logs = count("T_txt");

    // Last entered, not latest dated.
    bool asked = false;
    const auto yes = [&] { return asked = true; };
    EXPECT_EQ(ledger.undoLastSale(first, yes).message, "仅可以撤销本商品的最后一次销售记录！    ");
    EXPECT_FALSE(asked);
    EXPECT_EQ(ledger.undoLastSale(second, [] { return false; }).status, LedgerResult::Status::Cancelled);
    expectStock(a, 4, 10, 2.5);
    ASSERT_TRUE(ledger.undoLastSale(second, yes).ok());
    EXPECT_TRUE(asked);
    expectStock(a, 5, 12.5, 2.5);
    ASSERT_TRUE(ledger.undoLastSale(first, yes).ok());
    expectStock(a, 8, 20, 2.5);
    EXPECT_EQ(count("T_IO"), 1);
    EXPECT_EQ(count("T_txt"), logs); // undos are not logged
    EXPECT_EQ(ledger.undoLastSale(first, yes).message,
              "仅可以撤销本商品的最后一次销售记录！    "); // already gone
}

TEST_F(LedgerTest, UndoTheLastPurchase) {
    const auto yes = [] { return true; };
    const qlonglong a = registerItem("螺丝钉子", 4, 10);
    PurchaseRecord p = purchaseRecord(firstPurchaseOf(a));
    ASSERT_TRUE(ledger.bookSale(a, sale(1), "x").ok());
    EXPECT_EQ(ledger.undoLastPurchase(p, yes).message, "库存商品数量不足，拒绝本次还原！  ");
    ASSERT_TRUE(ledger.undoLastSale(saleRecord(lastId()), yes).ok());
    ASSERT_TRUE(ledger.undoLastPurchase(p, yes).ok());
    expectStock(a, 0, 0, 0);

    // Only the last; equal stock is enough; a leftover cost stays with unit cost 0.
    const qlonglong b = registerItem("扳手工具", 4, 10);
    const PurchaseRecord older = purchaseRecord(firstPurchaseOf(b));
    const PurchaseRecord newer = purchaseRecord(ledger.bookPurchase(b, purchase(2, 7.01), "x").id);
    EXPECT_EQ(ledger.undoLastPurchase(older, yes).message, "仅可以撤销本商品的最后一次进货记录！    ");
    ASSERT_TRUE(ledger.undoLastPurchase(newer, yes).ok());
    expectStock(b, 4, 10, 2.5);
    ASSERT_TRUE(ledger.editPurchase(older.ID, purchase(4, 12), "x").ok());
    ASSERT_TRUE(ledger.undoLastPurchase(older, yes).ok());
    expectStock(b, 0, 0, 0);
    session.execSql(QStringLiteral("update T_TZ set ZCB=3 where ID=%1").arg(b));
    const PurchaseRecord last = purchaseRecord(ledger.bookPurchase(b, purchase(2, 5), "x").id);
    expectStock(b, 2, 8, 4);
    ASSERT_TRUE(ledger.undoLastPurchase(last, yes).ok());
    expectStock(b, 0, 3, 0);
}

TEST_F(LedgerTest, EditAndRemoveGoods) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    ASSERT_TRUE(ledger.bookSale(a, sale(2), "x").ok());
    const qlonglong b = registerItem("扳手工具", 10, 50);
    ASSERT_TRUE(ledger.bookSale(b, sale(1), "x").ok());

    GoodsFields g = goods("大螺丝钉");
    g.XH = QStringLiteral("M10");
    g.LSJ = 9.999;
    ASSERT_TRUE(ledger.editGoods(a, g).ok());
    EXPECT_EQ(rowsText(QStringLiteral("select MC,LSJ,ZKC,ZCB,DJ from T_TZ where ID=%1").arg(a)),
              "大螺丝钉|10|8|40|5");
    EXPECT_EQ(lastLog(), "修改商品信息:大螺丝钉(M10)");
    EXPECT_EQ(ledger.editGoods(a, goods("大")).message, "商品名称最少4个西文字符, 保存失败！");

    GoodsRecord rec;
    rec.ID = a;
    rec.MC = QStringLiteral("大螺丝钉");
    rec.XH = QStringLiteral("M10");
    ASSERT_TRUE(ledger.removeGoods(rec).ok());
    EXPECT_EQ(lastLog(), "注销商品:大螺丝钉(M10)");
    EXPECT_EQ(rowsText("select count(*),min(ID) from T_TZ"), QStringLiteral("1|%1").arg(b));
    EXPECT_EQ(rowsText("select count(*),sum(abs(TZID)) from T_IO"), QStringLiteral("2|%1").arg(2 * b));
}
