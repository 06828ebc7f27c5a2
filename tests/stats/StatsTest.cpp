// Both statistics on small hand-checked ledgers.
#include "StatsFixture.h"

#include "core/Vb.h"
#include "stats/GoodsProfit.h"
#include "stats/MonthlyStatus.h"
#include "stats/Progress.h"

namespace {

class StatsTest : public StatsFixture {
protected:
    std::vector<QStringList> monthly() {
        return MonthlyStatus::texts(MonthlyStatus::compute(session).value(), session.options);
    }
    std::vector<QStringList> goods(QString* total = nullptr) {
        const GoodsProfitList list = GoodsProfit::compute(session).value();
        if (total) *total = GoodsProfit::totalText(list.total);
        return GoodsProfit::texts(list.rows);
    }
};

TEST_F(StatsTest, EmptyAndHandCheckedLedgers) {
    QString total;
    EXPECT_TRUE(monthly().empty() && goods().empty());
    handCheckedLedger();
    EXPECT_EQ(monthly(), handCheckedMonths());
    EXPECT_EQ(goods(&total), handCheckedGoods());
    EXPECT_EQ(total, QStringLiteral("......毛 利 合 计 ：  87.6 (元)"));
}

// Goods with the same first date are listed by ID; the first date is the earliest movement of
// any kind, and an item bought and sold out has gross profit sales − purchases.
TEST_F(StatsTest, GoodsOrderAndProfit) {
    session.execNative(QStringLiteral(
        "INSERT INTO T_TZ (MC, JC, XH, ZKC, ZCB) VALUES ('乙', 'B', '2', 0, 0), ('甲', 'A', '1', 5, 20), "
        "('丙', 'C', '3', 0, 0); INSERT INTO T_IO (TZID, RQ, SL, ZJE) VALUES (-2, '2010-06-01', 5, 20), "
        "(-1, '2010-06-01', 2, 7.5), (1, '2010-06-09', 2, 9.99), (-3, '2010-07-01', 1, 1), (3, '2010-05-31', "
        "1, 3)"));
    EXPECT_EQ(goods(),
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
    EXPECT_EQ(monthly(), rows({"1|201102|92.4|0|0|92.4|0"}));
}

TEST_F(StatsTest, StoppedComputationGivesNothing) {
    addGoods(QStringLiteral("螺丝钉子"), QString(), QString(), 5000, 5000);
    session.execNative(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                       "5000) INSERT INTO T_IO (TZID, RQ, SL, ZJE) SELECT -1, '2011-02-01', 1, 1 FROM n"));
    Progress progress;
    progress.stop();
    EXPECT_FALSE(MonthlyStatus::compute(session, &progress).has_value());
    EXPECT_FALSE(GoodsProfit::compute(session, &progress).has_value());
}

} // namespace
