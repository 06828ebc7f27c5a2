#pragma once
// A data file for the statistics, and a small ledger whose figures are worked out by hand.
#include "support/TestFixture.h"

#include <QStringList>
#include <vector>

// Readable rows in failure messages.
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << l.join(QLatin1Char('|')).toStdString();
}

class StatsFixture : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        session.options.Show_JHZJE = session.options.Show_ZCB = true; // as a new data file has them
        session.execNative(QStringLiteral("PRAGMA synchronous=OFF")); // many small writes
    }
    qlonglong addGoods(const QString& mc, const QString& jc, const QString& xh, double zkc, double zcb) {
        return addRowOf(session, QStringLiteral("T_TZ"), QStringLiteral("MC,JC,XH,ZKC,ZCB"),
                        {mc, jc, xh, zkc, zcb});
    }
    // tzid > 0 a sale, < 0 a purchase.
    void move(qlonglong tzid, const QString& rq, double sl, double zje) {
        addRowOf(session, QStringLiteral("T_IO"), QStringLiteral("TZID,RQ,SL,ZJE"), {tzid, rq, sl, zje});
    }
    static std::vector<QStringList> rows(std::initializer_list<const char*> lines) {
        std::vector<QStringList> out;
        for (const char* l : lines)
            out.push_back(QString::fromUtf8(l).split(QLatin1Char('|')));
        return out;
    }

    void handCheckedLedger() {
        const qlonglong a = addGoods("螺丝钉子", "LSDZ", "M8", -1, 0);
        const qlonglong b = addGoods(QStringLiteral("扳手工具"), QString(), QString(), 3, 0.3);
        const qlonglong c = addGoods(QStringLiteral("铜线"), QStringLiteral("TX"), QString(), -1, 0);
        addGoods(QStringLiteral("铁锤"), QString(), QString(), 0, 12.5); // no movements
        // January: a sale on the day of the purchase, goods c only ever sold.
        move(-a, QStringLiteral("2009-1-5"), 10, 100);
        move(a, QStringLiteral("2009-1-5"), 4, 60);
        move(c, QStringLiteral("2009-1-20"), 1, 0.1);
        move(-b, QStringLiteral("2009-1-31"), 3, 0.2);
        // No movement in February. In March a sells beyond its stock, and a purchase brings its
        // quantity back to exactly 0: the unit cost stays 10. b's zero quantities count as purchases.
        move(a, QStringLiteral("2009-3-1"), 8, 120);
        move(-a, QStringLiteral("2009-3-2"), 2, 30);
        move(-b, QStringLiteral("2009-3-2"), 0, 0.1);
        move(b, QStringLiteral("2009-3-3"), 0, 5);
        // April: the sale leaves the value 10 - 10 × 1 = 0.
        move(a, QStringLiteral("2009-4-30"), 1, 20);
    }
    static std::vector<QStringList> handCheckedMonths() {
        return rows({"1|200901|100.2|60.1|20.1|60.2|20.1", "2|200903|30.1|125|45|10.3|65.1",
                     "3|200904|0|20|10|0.3|75.1"});
    }
    static std::vector<QStringList> handCheckedGoods() {
        return rows({"1|螺丝钉子/LSDZ/M8|2009-1-5|-1|13|70", "2|铜线/TX/|2009-1-20|-1|1|0.1",
                     "3|扳手工具//|2009-1-31|3|0|5", "4|铁锤//||0|0|12.5"});
    }
};
