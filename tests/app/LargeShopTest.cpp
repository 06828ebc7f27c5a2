// The benchmark shop must be a ledger the program itself could have written.
#include "LargeShop.h"
#include "stock/LedgerCheck.h"
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
    // Stock, costs and movements agree to the cent, as the program's own check sees them.
    const LedgerCheckResult check = LedgerCheck(s).run();
    EXPECT_TRUE(check.sound()) << check.lines().join('\n').toStdString();
    EXPECT_EQ(s.query("select count(*) from T_TZ").value(0, 0).toInt(), sizes.goods);
    // Some items were sold out completely.
    EXPECT_GT(s.query("select count(*) from T_TZ where ZKC<0.005 and ID in (select -TZID from T_IO)")
                  .value(0, 0)
                  .toInt(),
              0);
    EXPECT_EQ(s.query("select count(*) from (select cc from T_Key group by cc)").value(0, 0).toInt(),
              sizes.keywords);                                // each keyword once
    std::map<qlonglong, std::pair<qlonglong, QDate>> demands; // ID -> customer, date
    for (const auto& row : s.query("select ID, KHID, RQ from T_KH_XQ").rows)
        demands[row[0].toLongLong()] = {row[1].toLongLong(), row[2].toDate()};

    // Replayed movement by movement: booked day by day in cents, never a sale before the
    // first purchase or beyond the stock on hand, a sale's customer the one of its demand.
    struct Replay {
        double stock = 0;
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
            ASSERT_LE(partner, sizes.suppliers);
        } else {
            ASSERT_TRUE(r.firstPurchase.isValid() && date >= r.firstPurchase);
            ASSERT_LE(q, r.stock + 1e-9);
            r.stock -= q;
            ASSERT_EQ(partner, demand ? demands[demand].first : 0);
        }
    }
}
