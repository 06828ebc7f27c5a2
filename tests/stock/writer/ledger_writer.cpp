// Books random operations of all nine kinds on a data file, through the ledger, until it is
// killed. Before each it prints "~ G" (the goods item it acts on, 0 for a new one); after each
// commit one line that says what is now in the file, amounts in cents:
//   R G M SL ZJE MC   registered (M the first purchase, 0 without one)
//   P|S G M SL ZJE    purchase / sale M booked      EP|ES G M SL ZJE   edited to these figures
//   UP|US G M         purchase / sale M undone      EG G MC            goods renamed
//   X G               goods item and its movements removed
// Usage: ledger_writer DATAFILE SEED. Exit 3: the data file is locked; 2: a booking failed.
#include "core/DataFileLock.h"
#include "core/MessageBoxes.h"
#include "core/Session.h"
#include "stock/Ledger.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

namespace {

class Writer {
public:
    Writer(Session& s, quint32 seed) : s_(s), ledger_(s), rng_(seed) {}

    void step() {
        const QueryResult goods = s_.query(QStringLiteral("select ID, ZKC from T_TZ"));
        const int kind = goods.isEmpty() || goods.rowCount() < 5 ? 0 : pick(100) < 4 ? 0 : 1 + pick(8);
        if (kind == 0) return registerOne();
        const int row = pick(goods.rowCount());
        const qlonglong g = goods.value(row, 0).toLongLong();
        const qint64 stock = std::llround(goods.value(row, 1).toDouble() * 100);
        say(QStringLiteral("~ %1").arg(g));
        switch (kind) {
        case 1:
            return movement("P", g, ledger_.bookPurchase(g, fields(1 + pick(500), pick(100000)), log()));
        case 2:
            if (stock > 0)
                movement("S", g, ledger_.bookSale(g, fields(1 + pick(int(stock)), pick(100000)), log()));
            return;
        case 3:
        case 4: {
            const bool sale = kind == 4;
            const qlonglong m = last(g, sale);
            if (!m) return;
            const MovementFields f = fields(1 + pick(500), pick(100000));
            const LedgerResult r = sale ? ledger_.editSale(m, f, log()) : ledger_.editPurchase(m, f, log());
            return movement(sale ? "ES" : "EP", g, r);
        }
        case 5: {
            const QString name = QStringLiteral("商品%1").arg(pick(100000));
            GoodsFields f;
            f.MC = name;
            if (done(ledger_.editGoods(g, f))) say(QStringLiteral("EG %1 %2").arg(g).arg(name));
            return;
        }
        case 6: {
            if (pick(2)) return; // seldom, or the ledger empties
            GoodsRecord rec;
            rec.ID = g;
            if (done(ledger_.removeGoods(rec))) say(QStringLiteral("X %1").arg(g));
            return;
        }
        case 7:
        case 8: {
            const bool sale = kind == 7;
            const qlonglong m = last(g, sale);
            if (!m) return;
            const auto yes = [] { return true; };
            SaleRecord sold;
            PurchaseRecord bought;
            sold.ID = bought.ID = m;
            sold.TZID = g;
            bought.TZID = -g;
            if (done(sale ? ledger_.undoLastSale(sold, yes) : ledger_.undoLastPurchase(bought, yes)))
                say(QStringLiteral("%1 %2 %3").arg(sale ? "US" : "UP").arg(g).arg(m));
            return;
        }
        }
    }

private:
    int pick(int n) { return int(rng_.bounded(n)); }
    static QString log() { return QStringLiteral("记账"); }

    MovementFields fields(int slCents, int zjeCents) {
        MovementFields m;
        m.SL = slCents / 100.0;
        m.ZJE = zjeCents / 100.0;
        m.RQ = QDate(2009, 1, 1).addDays(pick(30));
        return m;
    }
    // A refusal (a sale beyond the stock, an undo the stock no longer allows) is no commit.
    static bool done(const LedgerResult& r) {
        if (r.status == LedgerResult::Status::Failed) {
            std::fprintf(stderr, "failed: %s\n", qPrintable(r.message));
            std::exit(2);
        }
        return r.ok();
    }
    // Flushed at once: a line the test has not read was never said.
    void say(const QString& line) {
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    }
    qlonglong last(qlonglong g, bool sale) {
        const QueryResult r =
            s_.query(QStringLiteral("select max(ID) from T_IO where TZID=%1").arg(sale ? g : -g));
        return r.isEmpty() ? 0 : r.value(0, 0).toLongLong();
    }
    QString figures(qlonglong m) {
        const QueryResult r = s_.query(QStringLiteral("select SL, ZJE from T_IO where ID=%1").arg(m));
        return QStringLiteral("%1 %2")
            .arg(std::llround(r.value(0, 0).toDouble() * 100))
            .arg(std::llround(r.value(0, 1).toDouble() * 100));
    }
    void movement(const char* kind, qlonglong g, const LedgerResult& r) {
        if (done(r))
            say(QStringLiteral("%1 %2 %3 ").arg(QLatin1String(kind)).arg(g).arg(r.id) + figures(r.id));
    }
    void registerOne() {
        say(QStringLiteral("~ 0"));
        GoodsFields f;
        f.MC = QStringLiteral("商品%1").arg(pick(100000));
        const MovementFields m = fields(pick(5) ? 1 + pick(500) : 0, pick(100000));
        const LedgerResult r = ledger_.registerGoods(f, m);
        if (!done(r)) return;
        const qlonglong first = m.SL > 0 ? last(r.id, false) : 0;
        say(QStringLiteral("R %1 %2 ").arg(r.id).arg(first) +
            (first ? figures(first) : QStringLiteral("0 0")) + QLatin1Char(' ') + f.MC);
    }

    Session& s_;
    Ledger ledger_;
    QRandomGenerator rng_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    DataFileLock lock(path);
    if (lock.take() != DataFileLock::Outcome::Taken) return 3;
    ScriptedMessageBoxes boxes;
    Session session(boxes);
    session.open(path);
    Writer writer(session, quint32(std::atoi(argv[2])));
    for (;;)
        writer.step();
}
