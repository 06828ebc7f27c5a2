// Books random operations of all nine kinds on a data file, through the ledger, until it is
// killed. Before each it prints "~ G" (the goods item it acts on, 0 for a new one); after each
// commit "KIND G STATE": the kind (R register, P / S purchase / sale, EP / ES their edits, EG
// goods edit, X removal, US / UP undo of the last sale / purchase), the goods item, and the
// item and its movements as the file now holds them (Shop's text, ";" between entries).
// Usage: ledger_writer DATAFILE SEED. Exit 3: the data file is locked; 2: a booking failed.
#include "Shop.h"

#include "core/DataFileLock.h"
#include "core/MessageBoxes.h"
#include "stock/Ledger.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>
#include <functional>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    DataFileLock lock(path);
    if (lock.take() != DataFileLock::Outcome::Taken) return 3;
    ScriptedMessageBoxes boxes;
    Session s(boxes);
    s.open(path);
    Ledger ledger(s);
    QRandomGenerator rng(quint32(std::atoi(argv[2])));
    const auto pick = [&](int n) { return int(rng.bounded(n)); };
    GoodsFields named;
    const auto fields = [&](int slCents) {
        MovementFields m;
        m.SL = slCents / 100.0;
        m.ZJE = pick(100000) / 100.0;
        m.RQ = QDate(2009, 1, 1).addDays(pick(30));
        return m;
    };
    const auto yes = [] { return true; };
    const QString log = QStringLiteral("记账");
    for (;;) {
        const QueryResult goods = s.query(QStringLiteral("select ID, ZKC from T_TZ"));
        const int kind = goods.rowCount() < 5 || pick(100) < 4 ? 0 : 1 + pick(8);
        const int row = kind ? pick(goods.rowCount()) : 0;
        qlonglong g = kind ? goods.value(row, 0).toLongLong() : 0;
        const qint64 stock = kind ? std::llround(goods.value(row, 1).toDouble() * 100) : 0;
        // The last sale or purchase of the item, for the edits and undos.
        const qlonglong m = s.query(QStringLiteral("select max(ID) from T_IO where TZID=%1")
                                        .arg(kind == 4 || kind == 7 ? g : -g))
                                .value(0, 0)
                                .toLongLong();
        const bool onRecord = kind == 3 || kind == 4 || kind == 7 || kind == 8;
        if ((kind == 2 && stock <= 0) || (onRecord && !m)) continue;
        if (kind == 6 && pick(2)) continue; // seldom, or the ledger empties
        std::printf("~ %lld\n", g);
        std::fflush(stdout);
        SaleRecord sold;
        PurchaseRecord bought;
        sold.ID = bought.ID = m;
        sold.TZID = g;
        bought.TZID = -g;
        GoodsRecord item;
        item.ID = g;
        named.MC = QStringLiteral("商品%1").arg(pick(100000));
        const std::pair<const char*, std::function<LedgerResult()>> bookings[] = {
            {"R", [&] { return ledger.registerGoods(named, fields(pick(5) ? 1 + pick(500) : 0)); }},
            {"P", [&] { return ledger.bookPurchase(g, fields(1 + pick(500)), log); }},
            {"S", [&] { return ledger.bookSale(g, fields(1 + pick(int(stock))), log); }},
            {"EP", [&] { return ledger.editPurchase(m, fields(1 + pick(500)), log); }},
            {"ES", [&] { return ledger.editSale(m, fields(1 + pick(500)), log); }},
            {"EG", [&] { return ledger.editGoods(g, named); }},
            {"X", [&] { return ledger.removeGoods(item); }},
            {"US", [&] { return ledger.undoLastSale(sold, yes); }},
            {"UP", [&] { return ledger.undoLastPurchase(bought, yes); }},
        };
        const LedgerResult r = bookings[kind].second();
        // A refusal (a sale beyond the stock, an undo the stock no longer allows) is no commit.
        if (r.status == LedgerResult::Status::Failed) {
            std::fprintf(stderr, "failed: %s\n", qPrintable(r.message));
            return 2;
        }
        if (!r.ok()) continue;
        if (!g) g = r.id;
        // Flushed at once: a line the test has not read was never said.
        std::printf("%s %lld %s\n", bookings[kind].first, g, Shop::of(s, g).text(';').toUtf8().constData());
        std::fflush(stdout);
    }
}
