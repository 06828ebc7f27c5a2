// The benchmark shop must be a ledger the program itself could have written.
#include "LargeShop.h"
#include "core/Session.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace {

LargeShopSizes smallShop(std::uint64_t seed) {
    return {.goods = 150,
            .movements = 6000,
            .customers = 40,
            .demands = 160,
            .suppliers = 15,
            .keywords = 120,
            .seed = seed,
            .firstYear = 2016,
            .years = 3};
}

// Every row of the tables the generator fills, as one digest.
QByteArray digest(Session& s) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const char* sql : {"select * from T_TZ order by ID", "select * from T_IO order by ID",
                            "select * from T_KH order by ID", "select * from T_KH_XQ order by ID",
                            "select * from T_GYS order by ID", "select * from T_Key order by id"}) {
        const QueryResult r = s.query(QString::fromLatin1(sql));
        for (const auto& row : r.rows)
            for (const QVariant& v : row)
                hash.addData(QByteArray(v.toString().toUtf8()).append('\x1f'));
    }
    return hash.result();
}

} // namespace

TEST(LargeShopTest, KeepsTheLedgerInvariants) {
    QTemporaryDir dir;
    const QString path = dir.filePath("large.mdb");
    const LargeShopSizes sizes = smallShop(7);
    const LargeShopSummary sum = GenerateLargeShop(path, sizes);
    EXPECT_EQ(sum.goods, sizes.goods);
    EXPECT_EQ(sum.purchases + sum.sales, sizes.movements);
    EXPECT_GT(sum.sales, sum.purchases);                   // a shop sells in smaller lots than it buys
    EXPECT_THROW(GenerateLargeShop(path, sizes), DbError); // never over an existing file

    ScriptedMessageBoxes boxes;
    Session s(boxes);
    s.open(path);
    auto count = [&](const char* table) {
        return s.query(QStringLiteral("select count(*) from ") + QLatin1String(table)).value(0, 0).toInt();
    };
    EXPECT_EQ(count("T_KH"), sizes.customers);
    EXPECT_EQ(count("T_KH_XQ"), sizes.demands);
    EXPECT_EQ(count("T_GYS"), sizes.suppliers);
    EXPECT_EQ(count("T_Key"), sizes.keywords);
    EXPECT_EQ(s.query("select count(*) from (select cc from T_Key group by cc)").value(0, 0).toInt(),
              sizes.keywords);

    std::map<qlonglong, std::pair<qlonglong, QDate>> demands; // ID -> customer, date
    const QueryResult xq = s.query("select ID, KHID, RQ from T_KH_XQ");
    for (const auto& row : xq.rows)
        demands[row[0].toLongLong()] = {row[1].toLongLong(), row[2].toDate()};

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
        const qlonglong tzid = row[1].toLongLong();
        const QDate date = row[2].toDate();
        const double q = row[3].toDouble();
        const qlonglong partner = row[4].toLongLong(), demand = row[5].toLongLong();
        SCOPED_TRACE(row[0].toLongLong());
        ASSERT_TRUE(date.isValid());
        ASSERT_GE(date, previous); // booked day by day
        previous = date;
        ASSERT_GE(q, 0.01);
        ASSERT_EQ(q, std::round(q * 100) / 100);
        Replay& r = replay[std::abs(tzid)];
        if (demand != 0) {
            ASSERT_TRUE(demands.count(demand));
            ASSERT_LE(demands[demand].second, date);
        }
        if (tzid < 0) {
            if (!r.firstPurchase.isValid()) r.firstPurchase = date;
            r.stock += q;
            r.salesSincePurchase = 0;
            ASSERT_LE(partner, sizes.suppliers);
        } else {
            ASSERT_TRUE(r.firstPurchase.isValid()); // never before the first purchase
            ASSERT_GE(date, r.firstPurchase);
            ASSERT_LE(q, r.stock + 1e-9); // never more than the stock on hand
            r.stock -= q;
            ++r.salesSincePurchase;
            ASSERT_EQ(partner, demand ? demands[demand].first : 0); // the customer of the demand served
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
        EXPECT_GE(zkc, 0);
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

    // The same seed gives the same shop, another seed another one.
    GenerateLargeShop(dir.filePath("again.mdb"), sizes);
    GenerateLargeShop(dir.filePath("other.mdb"), smallShop(8));
    Session again(boxes), other(boxes);
    again.open(dir.filePath("again.mdb"));
    other.open(dir.filePath("other.mdb"));
    const QByteArray first = digest(s);
    EXPECT_EQ(digest(again), first);
    EXPECT_NE(digest(other), first);
}
