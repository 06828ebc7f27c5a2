// The benchmark shop must be a ledger the program itself could have written.
#include "LargeShop.h"
#include "support/TestFixture.h"

#include <cmath>
#include <map>

TEST(LargeShopTest, KeepsTheLedgerInvariants) {
    QTemporaryDir dir;
    const QString path = dir.filePath("large.mdb");
    const LargeShopSizes sizes = {.goods = 150,
                                  .movements = 6000,
                                  .customers = 40,
                                  .demands = 160,
                                  .suppliers = 15,
                                  .keywords = 120,
                                  .seed = 7,
                                  .firstYear = 2016,
                                  .years = 3};
    const LargeShopSummary sum = GenerateLargeShop(path, sizes);
    EXPECT_GT(sum.sales, sum.purchases);                   // a shop sells in smaller lots than it buys
    EXPECT_THROW(GenerateLargeShop(path, sizes), DbError); // never over an existing file

    ScriptedMessageBoxes boxes;
    Session s(boxes);
    s.open(path);
    EXPECT_EQ(s.query("select count(*) from (select cc from T_Key group by cc)").value(0, 0).toInt(),
              sizes.keywords);                                // each keyword once
    std::map<qlonglong, std::pair<qlonglong, QDate>> demands; // ID -> customer, date
    for (const auto& row : s.query("select ID, KHID, RQ from T_KH_XQ").rows)
        demands[row[0].toLongLong()] = {row[1].toLongLong(), row[2].toDate()};

    // Replayed movement by movement: booked day by day in cents, never a sale before the
    // first purchase or beyond the stock on hand, a sale's customer the one of its demand.
    struct Replay {
        double stock = 0;
        int salesSincePurchase = 0;
        QDate firstPurchase;
    };
    std::map<qlonglong, Replay> replay;
    QDate previous;
    const QueryResult io = s.query("select ID, TZID, RQ, SL, JXID, KHXQID from T_IO order by ID");
    ASSERT_EQ(io.rowCount(), sizes.movements);
    for (const auto& row : io.rows) {
        const qlonglong tzid = row[1].toLongLong(), partner = row[4].toLongLong(),
                        demand = row[5].toLongLong();
        const QDate date = row[2].toDate();
        const double q = row[3].toDouble();
        SCOPED_TRACE(row[0].toLongLong());
        ASSERT_TRUE(date.isValid() && date >= previous);
        previous = date;
        ASSERT_TRUE(q >= 0.01 && q == std::round(q * 100) / 100);
        ASSERT_TRUE(demand == 0 || (demands.count(demand) && demands[demand].second <= date));
        Replay& r = replay[std::abs(tzid)];
        if (tzid < 0) {
            if (!r.firstPurchase.isValid()) r.firstPurchase = date;
            r.stock += q;
            r.salesSincePurchase = 0;
            ASSERT_LE(partner, sizes.suppliers);
        } else {
            ASSERT_TRUE(r.firstPurchase.isValid() && date >= r.firstPurchase);
            ASSERT_LE(q, r.stock + 1e-9);
            r.stock -= q;
            ++r.salesSincePurchase;
            ASSERT_EQ(partner, demand ? demands[demand].first : 0);
        }
    }

    const QueryResult tz = s.query("select ID, ZKC, ZCB, DJ from T_TZ");
    ASSERT_EQ(tz.rowCount(), sizes.goods);
    int emptied = 0;
    for (const auto& row : tz.rows) {
        const double zkc = row[1].toDouble(), zcb = row[2].toDouble(), dj = row[3].toDouble();
        const Replay r = replay[row[0].toLongLong()];
        SCOPED_TRACE(row[0].toLongLong());
        EXPECT_NEAR(zkc, r.stock, 0.005);
        EXPECT_GE(zcb, 0);
        if (zkc > 0) {
            // DJ is ZCB/ZKC after a purchase; each later sale rounds ZCB by at most half a cent.
            EXPECT_LE(std::fabs(zcb - dj * zkc), 0.005 * r.salesSincePurchase + 1e-6);
            if (r.salesSincePurchase == 0) {
                EXPECT_DOUBLE_EQ(dj, zcb / zkc);
            }
        } else {
            EXPECT_EQ(zcb, 0);
            emptied += r.firstPurchase.isValid();
        }
    }
    EXPECT_GT(emptied, 0); // some items were sold out completely
}
