#pragma once
// A fresh data file with a ledger, and shorthands for the ledger tests.
#include "core/RecordReader.h"
#include "stock/Ledger.h"

#include "support/TestFixture.h"

#include <QLineEdit>
#include <QTest>

// The operator replaces a box's text key by key (the amount boxes couple as typed).
inline void type(QLineEdit* box, const QString& text) {
    box->selectAll();
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text) // keyClicks would send Chinese characters as Latin-1
        QTest::sendKeyEvent(QTest::Click, box,
                            c.unicode() < 128 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

class LedgerTest : public LedgerFixture {
protected:
    Ledger ledger{session};

    static GoodsFields goods(const QString& name) {
        GoodsFields g;
        g.MC = name;
        return g;
    }
    static MovementFields purchase(double sl, double zje, QDate rq = QDate(2009, 1, 9)) {
        MovementFields m;
        m.SL = sl;
        m.ZJE = zje;
        m.RQ = rq;
        return m;
    }
    static MovementFields sale(double sl, QDate rq = QDate(2009, 1, 9)) { return purchase(sl, sl * 10, rq); }

    qlonglong registerItem(const QString& name, double sl, double zje, QDate rq = QDate(2009, 1, 9)) {
        const LedgerResult r = ledger.registerGoods(goods(name), purchase(sl, zje, rq));
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
        return r.id;
    }
    qlonglong firstPurchaseOf(qlonglong goodsId) {
        return scalar(QStringLiteral("select min(ID) from T_IO where TZID=-%1").arg(goodsId)).toLongLong();
    }
    qlonglong lastId() { return scalar(QStringLiteral("select max(ID) from T_IO")).toLongLong(); }
    int count(const QString& table) {
        return int(scalar(QStringLiteral("select count(*) from ") + table).toLongLong());
    }

    // The record copies a list would hand to a form.
    template <class Record> Record recordOf(qlonglong id, Record (RecordReader::*read)() const) {
        std::vector<Record> found;
        session.read(QStringLiteral("select * from T_IO where ID=%1").arg(id),
                     [&](RowSource& in) { found = RecordReader::all(in, read); });
        return found.empty() ? Record{} : found[0];
    }
    SaleRecord saleRecord(qlonglong id) { return recordOf(id, &RecordReader::sale); }
    PurchaseRecord purchaseRecord(qlonglong id) { return recordOf(id, &RecordReader::purchase); }

    void expectStock(qlonglong goodsId, double zkc, double zcb, double dj) {
        const QueryResult r =
            session.query(QStringLiteral("select ZKC,ZCB,DJ from T_TZ where ID=%1").arg(goodsId));
        ASSERT_EQ(r.rowCount(), 1);
        EXPECT_DOUBLE_EQ(r.value(0, 0).toDouble(), zkc) << "ZKC of " << goodsId;
        EXPECT_DOUBLE_EQ(r.value(0, 1).toDouble(), zcb) << "ZCB of " << goodsId;
        EXPECT_DOUBLE_EQ(r.value(0, 2).toDouble(), dj) << "DJ of " << goodsId;
    }

    QString movement(qlonglong id, const char* columns = "TZID,SL,ZJE") {
        return rowsText(
            QStringLiteral("select %1 from T_IO where ID=%2").arg(QLatin1String(columns)).arg(id));
    }
};
