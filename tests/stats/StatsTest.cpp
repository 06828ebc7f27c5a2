// Both statistics on small hand-checked ledgers, and on many random ones against the slow
// reference computation.
#include "StatsFixture.h"
#include "StatsReference.h"

#include "core/Transaction.h"
#include "core/Vb.h"
#include "stats/GoodsProfit.h"
#include "stats/MonthlyStatus.h"
#include "stats/Progress.h"
#include "stock/Ledger.h"

#include <QRandomGenerator>

namespace {

class StatsTest : public StatsFixture {
protected:
    ReferenceList monthly() { return {MonthlyStatus::texts(MonthlyStatus::compute(session).value()), {}}; }
    ReferenceList goods() {
        const GoodsProfitList list = GoodsProfit::compute(session).value();
        return {GoodsProfit::texts(list.rows), GoodsProfit::totalText(list.total)};
    }
    void expectBothWays(const std::vector<QStringList>& m, const std::vector<QStringList>& g,
                        const QString& total) {
        EXPECT_EQ(monthly().rows, m);
        EXPECT_EQ(ReferenceMonthly(session).rows, m);
        const ReferenceList program = goods(), reference = ReferenceGoods(session);
        EXPECT_EQ(program.rows, g);
        EXPECT_EQ(reference.rows, g);
        EXPECT_EQ(program.total, total);
        EXPECT_EQ(reference.total, total);
    }
};

TEST_F(StatsTest, EmptyLedger) {
    expectBothWays({}, {}, QStringLiteral("......毛 利 合 计 ：  0 (元)"));
    addGoods(QStringLiteral("铁锤"), QString(), QString(), 0, 0);
    expectBothWays({}, rows({"1|铁锤//||0|0|0"}), QStringLiteral("......毛 利 合 计 ：  0 (元)"));
}

TEST_F(StatsTest, HandCheckedLedger) {
    handCheckedLedger();
    expectBothWays(handCheckedMonths(), handCheckedGoods(),
                   QStringLiteral("......毛 利 合 计 ：  87.6 (元)"));
}

// Goods with the same first date are listed by ID; the first date is the earliest movement of
// any kind, and an item bought and sold out has gross profit sales − purchases.
TEST_F(StatsTest, GoodsOrderAndProfit) {
    const qlonglong a = addGoods(QStringLiteral("乙"), QStringLiteral("B"), QStringLiteral("2"), 0, 0);
    const qlonglong b = addGoods(QStringLiteral("甲"), QStringLiteral("A"), QStringLiteral("1"), 5, 20);
    const qlonglong c = addGoods(QStringLiteral("丙"), QStringLiteral("C"), QStringLiteral("3"), 0, 0);
    move(-b, QStringLiteral("2010-6-1"), 5, 20);
    move(-a, QStringLiteral("2010-6-1"), 2, 7.5);
    move(a, QStringLiteral("2010-6-9"), 2, 9.99);
    move(-c, QStringLiteral("2010-7-1"), 1, 1);
    move(c, QStringLiteral("2010-5-31"), 1, 3);
    EXPECT_EQ(goods().rows,
              rows({"1|丙/C/3|2010-5-31|0|1|2", "2|乙/B/2|2010-6-1|0|2|2.49", "3|甲/A/1|2010-6-1|5|0|0"}));
}

// The month's sums are exact: 28 purchases of 3.30 are 92.4, where adding the doubles one by
// one gives 92.3999999999999.
TEST_F(StatsTest, MonthSumsAreExact) {
    const qlonglong a = addGoods(QStringLiteral("螺丝钉子"), QString(), QString(), 28, 92.4);
    for (int i = 0; i < 28; ++i)
        move(-a, QStringLiteral("2011-2-%1").arg(1 + i), 1, 3.3);
    EXPECT_EQ(vb::CStr(scalar(QStringLiteral("select sum(ZJE) from T_IO")).toDouble()),
              QStringLiteral("92.3999999999999"));
    EXPECT_EQ(monthly().rows, rows({"1|201102|92.4|0|0|92.4|0"}));
}

TEST_F(StatsTest, StoppedComputationGivesNothing) {
    const qlonglong a = addGoods(QStringLiteral("螺丝钉子"), QString(), QString(), 0, 0);
    Transaction tx(session);
    for (int i = 0; i < 5000; ++i)
        move(-a, QStringLiteral("2011-2-1"), 1, 1);
    tx.commit();
    Progress progress;
    progress.stop();
    EXPECT_FALSE(MonthlyStatus::compute(session, &progress).has_value());
    EXPECT_FALSE(GoodsProfit::compute(session, &progress).has_value());
}

// Random ledgers, built mostly through the ledger's own bookings, with what the bookings never
// make (sales beyond the stock or before any purchase, zero quantities) inserted directly.
class StatsRandomTest : public StatsTest {
protected:
    QRandomGenerator rng{20090109};
    Ledger ledger{session};
    std::vector<int> months; // the months this ledger uses, with gaps between them

    int pick(int n) { return int(rng.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    QDate date() {
        const int m = months[size_t(pick(int(months.size())))];
        return QDate(2009 + m / 12, m % 12 + 1, 1 + pick(chance(30) ? 2 : 28));
    }
    // Small whole numbers often, so that running quantities meet 0 exactly.
    double quantity() { return chance(70) ? 1 + pick(3) : pick(1000) / 100.0; }
    double amount() { return pick(chance(20) ? 100 : 100000) / 100.0; }
    MovementFields fields(double sl) {
        MovementFields m;
        m.SL = sl;
        m.ZJE = amount();
        m.RQ = date();
        return m;
    }
    std::vector<qlonglong> moves(bool sale) {
        std::vector<qlonglong> ids;
        for (const auto& row : session.query(QStringLiteral("select ID,TZID from T_IO order by ID")).rows)
            if ((row[1].toLongLong() > 0) == sale) ids.push_back(row[0].toLongLong());
        return ids;
    }

    void buildLedger() {
        session.execSql(QStringLiteral("delete from T_IO"));
        session.execSql(QStringLiteral("delete from T_TZ"));
        months.clear();
        for (int k = 0, n = 1 + pick(6); k < n; ++k)
            months.push_back(pick(36));
        std::vector<qlonglong> goods;
        const int items = 1 + pick(5);
        for (int i = 0; i < items; ++i) {
            GoodsFields g;
            g.MC = QStringLiteral("商品%1").arg(i);
            g.XH = chance(50) ? QStringLiteral("M%1").arg(i) : QString();
            const LedgerResult r = ledger.registerGoods(g, fields(chance(25) ? 0 : quantity()));
            ASSERT_TRUE(r.ok()) << r.message.toStdString();
            goods.push_back(r.id);
        }
        const auto someGoods = [&] { return goods[size_t(pick(int(goods.size())))]; };
        for (int step = 0, n = 10 + pick(40); step < n; ++step) {
            const int k = pick(100);
            const QString log = QStringLiteral("x");
            if (k < 30) {
                ledger.bookPurchase(someGoods(), fields(quantity()), log);
            } else if (k < 60) {
                const qlonglong g = someGoods();
                const double zkc =
                    scalar(QStringLiteral("select ZKC from T_TZ where ID=%1").arg(g)).toDouble();
                ledger.bookSale(g, fields(chance(50) ? zkc : quantity()), log);
            } else if (k < 83) {
                // An edit of any movement, or an undo of the last one of its kind.
                const bool sale = chance(50);
                const auto ids = moves(sale);
                if (ids.empty()) continue;
                if (k < 75) {
                    const qlonglong id = ids[size_t(pick(int(ids.size())))];
                    sale ? ledger.editSale(id, fields(quantity()), log)
                         : ledger.editPurchase(id, fields(quantity()), log);
                    continue;
                }
                const QueryResult r =
                    session.query(QStringLiteral("select ID,TZID,SL from T_IO where ID=%1").arg(ids.back()));
                const auto record = [&](auto rec) {
                    rec.ID = r.value(0, 0).toLongLong();
                    rec.TZID = r.value(0, 1).toLongLong();
                    rec.SL = r.value(0, 2).toDouble();
                    return rec;
                };
                const auto yes = [] { return true; };
                sale ? ledger.undoLastSale(record(SaleRecord{}), yes)
                     : ledger.undoLastPurchase(record(PurchaseRecord{}), yes);
            } else {
                // Straight into the table: beyond the stock, before any purchase, zero quantities.
                const qlonglong g = someGoods();
                move(chance(60) ? g : -g, date().toString(Qt::ISODate), chance(30) ? 0 : quantity(),
                     amount());
            }
        }
    }
};

TEST_F(StatsRandomTest, SameTextsAsTheReference) {
    for (int ledgerNo = 0; ledgerNo < 150; ++ledgerNo) {
        buildLedger();
        SCOPED_TRACE(ledgerNo);
        EXPECT_EQ(monthly().rows, ReferenceMonthly(session).rows);
        const ReferenceList program = goods(), reference = ReferenceGoods(session);
        EXPECT_EQ(program.rows, reference.rows);
        EXPECT_EQ(program.total, reference.total);
        if (HasFailure()) break;
    }
}

} // namespace
