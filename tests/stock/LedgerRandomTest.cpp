// Thousands of random bookings against the ledger, each checked against a model of the
// rules kept here, and the ledger's invariants checked after every step.
#include "LedgerTestSupport.h"

#include "core/TextRoutines.h"
#include "stock/StockTexts.h"

#include <QRandomGenerator>
#include <cmath>
#include <map>

using namespace stocktext;
using Status = LedgerResult::Status;

namespace {

double r2(double v) {
    return vb::Round(v, 2);
}

struct ModelGoods {
    double ZKC = 0, ZCB = 0, DJ = 0;
    QString MC, XH;
};

struct ModelMove {
    qlonglong goods = 0;
    bool sale = false;
    double SL = 0, ZJE = 0;
    QDate RQ;
};

// What the ledger should hold, kept by the rules alone.
struct Model {
    std::map<qlonglong, ModelGoods> goods;
    std::map<qlonglong, ModelMove> moves; // by movement ID, so the last entered is the highest
    int logLines = 0;

    std::optional<QDate> firstPurchase(qlonglong g) const {
        std::optional<QDate> first;
        for (const auto& [id, m] : moves)
            if (m.goods == g && !m.sale && (!first || m.RQ < *first)) first = m.RQ;
        return first;
    }
    qlonglong lastMove(qlonglong g, bool sale) const {
        qlonglong last = 0;
        for (const auto& [id, m] : moves)
            if (m.goods == g && m.sale == sale) last = id;
        return last;
    }
};

class LedgerRandomTest : public LedgerTest {
protected:
    QRandomGenerator rng{20090109};
    Model model;
    std::vector<qlonglong> everGoods, everMoves;        // includes removed ones, to act on stale rows
    bool failing = false;                               // the data file refuses the last write of each action
    std::map<std::string, std::map<int, int>> outcomes; // per operation: how often each status came

    int pick(int n) { return int(rng.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    // Mostly hundredths, sometimes thousandths to be rounded, now and then nothing or no number.
    double quantity(double around) {
        const int k = pick(100);
        if (k < 3) return vb::Val(QStringLiteral("1e999"));
        if (k < 6) return 0.004;
        if (k < 9) return 0.006;
        if (k < 12) return around; // exactly the stock
        if (k < 15) return -1;
        if (k < 25) return pick(1000) / 1000.0 * std::max(around, 1.0) * 1.3;
        return (1 + pick(std::max(1, int(around * 120)))) / 100.0;
    }
    double amount() { return chance(5) ? 0.125 : pick(100000) / 1000.0; }
    QDate date() { return QDate(2009, 1, 1).addDays(pick(60)); }
    QString name() {
        static const QStringList names = {"螺丝钉子", "扳手工具", "abcd",     "铁锤",
                                          "a",        "钉",       "铜线电缆", "O'Neil螺母"};
        return names[pick(int(names.size()))];
    }
    qlonglong someGoods() {
        if (everGoods.empty()) return 1;
        if (chance(5) || model.goods.empty()) return everGoods[pick(int(everGoods.size()))];
        auto it = model.goods.begin();
        std::advance(it, pick(int(model.goods.size())));
        return it->first;
    }
    // A movement of the wanted kind, now and then one that no longer exists.
    std::optional<qlonglong> someMove(bool sale) {
        std::vector<qlonglong> ids;
        for (const auto& [id, m] : model.moves)
            if (m.sale == sale) ids.push_back(id);
        if ((chance(5) || ids.empty()) && !everMoves.empty()) return everMoves[pick(int(everMoves.size()))];
        if (ids.empty()) return std::nullopt;
        // Prefer the last ones, which can be undone.
        return chance(50) ? ids.back() : ids[pick(int(ids.size()))];
    }
    MovementFields fields(double sl, double zje) {
        MovementFields m;
        m.SL = sl;
        m.ZJE = zje;
        m.GZJE = chance(20) ? amount() : 0;
        m.RQ = date();
        m.JXID = pick(3);
        m.KHXQID = pick(3);
        m.BZ = chance(20) ? QStringLiteral("备'注") : QString();
        return m;
    }

    // The outcome expected from the model, and the model's new state if it is stored.
    struct Expect {
        Status status = Status::Done;
        QString message;
    };
    static Expect done() { return {}; }
    static Expect refused(const QString& m) { return {Status::Refused, m}; }

    void check(const char* op, const LedgerResult& r, Expect e, const std::function<void()>& apply) {
        if (failing && e.status == Status::Done) e = {Status::Failed, {}};
        ASSERT_EQ(int(r.status), int(e.status)) << op << ": " << r.message.toStdString();
        if (e.status == Status::Refused) {
            ASSERT_EQ(r.message, e.message) << op;
        }
        ++outcomes[op][int(e.status)];
        if (e.status == Status::Done) {
            apply();
            model.logLines += !std::string(op).starts_with("undo"); // undos write no log line
        }
    }

    void step() {
        const int op = pick(9);
        switch (op) {
        case 0: { // register, more seldom once there are a few goods items
            if (model.goods.size() > 12 && chance(80)) return;
            GoodsFields g = goods(name());
            g.XH = QStringLiteral("M%1").arg(pick(20));
            const double q = chance(20) ? 0 : quantity(10);
            const MovementFields m = fields(q, amount());
            const LedgerResult r = ledger.registerGoods(g, m);
            const double sl = r2(m.SL);
            Expect e = AnsiByteLength(Clean(g.MC)) < 4 ? refused(kNameTooShort)
                       : !std::isfinite(sl) || sl < 0  ? refused(kQuantityWrong)
                                                       : done();
            check("register", r, e, [&] {
                const double a = r2(m.ZJE);
                model.goods[r.id] = {sl, a, sl > 0 ? a / sl : 0, Clean(g.MC), g.XH};
                everGoods.push_back(r.id);
                if (sl > 0) {
                    const qlonglong mid = firstPurchaseOf(r.id);
                    model.moves[mid] = {r.id, false, sl, a, m.RQ};
                    everMoves.push_back(mid);
                }
            });
            break;
        }
        case 1: { // purchase
            const qlonglong g = someGoods();
            const MovementFields m = fields(quantity(5), amount());
            const LedgerResult r = ledger.bookPurchase(g, m, QStringLiteral("进货登记:x"));
            const double q = r2(m.SL), a = r2(m.ZJE);
            Expect e = !std::isfinite(q) || q < 0.001 ? refused(kQuantityWrong)
                       : !model.goods.count(g)        ? Expect{Status::Failed, {}}
                                                      : done();
            check("purchase", r, e, [&] {
                ModelGoods& mg = model.goods[g];
                mg.ZKC = r2(mg.ZKC + q);
                mg.ZCB = r2(mg.ZCB + a);
                mg.DJ = mg.ZCB / mg.ZKC;
                model.moves[r.id] = {g, false, q, a, m.RQ};
                everMoves.push_back(r.id);
            });
            break;
        }
        case 2: { // sale
            const qlonglong g = someGoods();
            const double stock = model.goods.count(g) ? model.goods[g].ZKC : 3;
            const MovementFields m = fields(quantity(stock), amount());
            const LedgerResult r = ledger.bookSale(g, m, QStringLiteral("售出登记:x"));
            const double q = r2(m.SL);
            const auto first = model.firstPurchase(g);
            Expect e = !std::isfinite(q) || q < 0.001 ? refused(kQuantityWrong)
                       : !model.goods.count(g)        ? Expect{Status::Failed, {}}
                       : q > stock                    ? refused(kQuantityWrong)
                       : first && m.RQ < *first       ? refused(kDateWrong)
                                                      : done();
            check("sale", r, e, [&] {
                ModelGoods& mg = model.goods[g];
                const double z = mg.ZKC;
                mg.ZKC = r2(z - q);
                mg.ZCB = r2(mg.ZCB / z * (z - q));
                model.moves[r.id] = {g, true, q, r2(m.ZJE), m.RQ};
                everMoves.push_back(r.id);
            });
            break;
        }
        case 3: { // edit a purchase
            const auto id = someMove(false);
            if (!id) return;
            const bool exists = model.moves.count(*id) && !model.moves[*id].sale;
            const double old = exists ? model.moves[*id].SL : 1;
            const MovementFields m = fields(chance(50) ? old : quantity(old), amount());
            const LedgerResult r = ledger.editPurchase(*id, m, QStringLiteral("修改进货记录:x"));
            const double q = r2(m.SL), a = r2(m.ZJE);
            Expect e = !std::isfinite(q) || q < 0.001                          ? refused(kQuantityWrong)
                       : !exists                                               ? Expect{Status::Failed, {}}
                       : q < r2(old - model.goods[model.moves[*id].goods].ZKC) ? refused(kQuantityWrong)
                                                                               : done();
            check("edit purchase", r, e, [&] {
                ModelMove& mm = model.moves[*id];
                ModelGoods& mg = model.goods[mm.goods];
                mg.ZKC = r2(mg.ZKC + (q - mm.SL));
                mg.ZCB = r2(mg.ZCB + (a - mm.ZJE));
                mm.SL = q;
                mm.ZJE = a;
                mm.RQ = m.RQ;
            });
            break;
        }
        case 4: { // edit a sale
            const auto id = someMove(true);
            if (!id) return;
            const bool exists = model.moves.count(*id) && model.moves[*id].sale;
            const double old = exists ? model.moves[*id].SL : 1;
            const double stock = exists ? model.goods[model.moves[*id].goods].ZKC : 0;
            const MovementFields m = fields(chance(30) ? old + stock : quantity(old + stock), amount());
            const LedgerResult r = ledger.editSale(*id, m, QStringLiteral("修改销售记录:x"));
            const double q = r2(m.SL);
            const auto first = exists ? model.firstPurchase(model.moves[*id].goods) : std::nullopt;
            Expect e = !std::isfinite(q) || q < 0.001 ? refused(kQuantityWrong)
                       : !exists                      ? Expect{Status::Failed, {}}
                       : q > r2(stock + old)          ? refused(kQuantityWrong)
                       : first && m.RQ < *first       ? refused(kDateWrong)
                                                      : done();
            check("edit sale", r, e, [&] {
                ModelMove& mm = model.moves[*id];
                ModelGoods& mg = model.goods[mm.goods];
                mg.ZKC = r2(mg.ZKC + mm.SL - q);
                mg.ZCB = r2(mg.DJ * mg.ZKC);
                mm.SL = q;
                mm.ZJE = r2(m.ZJE);
                mm.RQ = m.RQ;
            });
            break;
        }
        case 5: { // edit goods
            const qlonglong g = someGoods();
            GoodsFields f = goods(name());
            f.XH = QStringLiteral("N%1").arg(pick(9));
            f.LSJ = amount();
            const LedgerResult r = ledger.editGoods(g, f);
            Expect e = AnsiByteLength(Clean(f.MC)) < 4 ? refused(kNameTooShort)
                       : !model.goods.count(g)         ? Expect{Status::Failed, {}}
                                                       : done();
            check("edit goods", r, e, [&] {
                model.goods[g].MC = Clean(f.MC);
                model.goods[g].XH = f.XH;
            });
            break;
        }
        case 6: { // remove goods, rarely
            if (!chance(15)) return;
            const qlonglong g = someGoods();
            GoodsRecord rec;
            rec.ID = g;
            const LedgerResult r = ledger.removeGoods(rec);
            check("remove", r, model.goods.count(g) ? done() : Expect{Status::Failed, {}}, [&] {
                model.goods.erase(g);
                std::erase_if(model.moves, [&](const auto& kv) { return kv.second.goods == g; });
            });
            break;
        }
        case 7: { // undo a sale
            const auto id = someMove(true);
            if (!id) return;
            const bool exists = model.moves.count(*id) && model.moves[*id].sale;
            SaleRecord rec = saleRecord(*id);
            if (!exists) rec.ID = *id, rec.TZID = everGoods.empty() ? 1 : everGoods.front();
            const bool yes = chance(85);
            const LedgerResult r = ledger.undoLastSale(rec, [&] { return yes; });
            Expect e = !exists || model.lastMove(model.moves[*id].goods, true) != *id ? refused(kOnlyLastSale)
                       : !yes ? Expect{Status::Cancelled, {}}
                              : done();
            check("undo sale", r, e, [&] {
                ModelMove mm = model.moves[*id];
                ModelGoods& mg = model.goods[mm.goods];
                mg.ZKC = r2(mg.ZKC + mm.SL);
                mg.ZCB = r2(mg.ZKC * mg.DJ);
                model.moves.erase(*id);
            });
            break;
        }
        case 8: { // undo a purchase
            const auto id = someMove(false);
            if (!id) return;
            const bool exists = model.moves.count(*id) && !model.moves[*id].sale;
            PurchaseRecord rec = purchaseRecord(*id);
            if (!exists) rec.ID = *id, rec.TZID = everGoods.empty() ? -1 : -everGoods.front();
            const bool yes = chance(85);
            const LedgerResult r = ledger.undoLastPurchase(rec, [&] { return yes; });
            Expect e;
            if (!exists || model.lastMove(model.moves[*id].goods, false) != *id)
                e = refused(kOnlyLastPurchase);
            else if (model.goods[model.moves[*id].goods].ZKC < model.moves[*id].SL)
                e = refused(kStockTooLow);
            else if (!yes)
                e = {Status::Cancelled, {}};
            check("undo purchase", r, e, [&] {
                ModelMove mm = model.moves[*id];
                ModelGoods& mg = model.goods[mm.goods];
                mg.ZKC = r2(mg.ZKC - mm.SL);
                mg.ZCB = r2(mg.ZCB - mm.ZJE);
                mg.DJ = mg.ZKC > 0 ? mg.ZCB / mg.ZKC : 0;
                model.moves.erase(*id);
            });
            break;
        }
        }
    }

    void compareWithModel(int stepNo) {
        const QueryResult tz = session.query(QStringLiteral("select ID,ZKC,ZCB,DJ,MC from T_TZ order by ID"));
        ASSERT_EQ(tz.rowCount(), int(model.goods.size())) << "step " << stepNo;
        std::map<qlonglong, double> moved; // purchases − sales per goods item
        const QueryResult io = session.query(QStringLiteral("select ID,TZID,SL,ZJE from T_IO order by ID"));
        ASSERT_EQ(io.rowCount(), int(model.moves.size())) << "step " << stepNo;
        int i = 0;
        for (const auto& [id, m] : model.moves) {
            ASSERT_EQ(io.value(i, 0).toLongLong(), id) << "step " << stepNo;
            const qlonglong tzid = io.value(i, 1).toLongLong();
            ASSERT_EQ(tzid, m.sale ? m.goods : -m.goods) << "step " << stepNo;
            ASSERT_EQ(io.value(i, 2).toDouble(), m.SL) << "step " << stepNo;
            ASSERT_EQ(io.value(i, 3).toDouble(), m.ZJE) << "step " << stepNo;
            ASSERT_GT(m.SL, 0);
            moved[m.goods] += m.sale ? -m.SL : m.SL;
            ++i;
        }
        i = 0;
        for (const auto& [id, g] : model.goods) {
            ASSERT_EQ(tz.value(i, 0).toLongLong(), id) << "step " << stepNo;
            for (int c = 1; c <= 3; ++c)
                ASSERT_FALSE(tz.value(i, c).isNull()) << "Null in goods " << id << " at step " << stepNo;
            ASSERT_DOUBLE_EQ(tz.value(i, 1).toDouble(), g.ZKC) << "ZKC of " << id << " at step " << stepNo;
            ASSERT_DOUBLE_EQ(tz.value(i, 2).toDouble(), g.ZCB) << "ZCB of " << id << " at step " << stepNo;
            ASSERT_DOUBLE_EQ(tz.value(i, 3).toDouble(), g.DJ) << "DJ of " << id << " at step " << stepNo;
            ASSERT_EQ(tz.value(i, 4).toString(), g.MC);
            // Stock is never negative and always purchases minus sales.
            ASSERT_GE(g.ZKC, 0) << "step " << stepNo;
            ASSERT_NEAR(g.ZKC, moved[id], 1e-6) << "goods " << id << " at step " << stepNo;
            ASSERT_TRUE(std::isfinite(g.ZCB) && std::isfinite(g.DJ));
            ++i;
        }
        ASSERT_EQ(count("T_txt"), model.logLines) << "step " << stepNo;
    }
};

} // namespace

TEST_F(LedgerRandomTest, ThousandsOfBookingsFollowTheRules) {
    session.execNative(QStringLiteral("PRAGMA synchronous=OFF")); // a test file needs no fsync
    const QString failTriggers = QStringLiteral(
        "CREATE TRIGGER no_log BEFORE INSERT ON T_txt BEGIN SELECT RAISE(ABORT, 'full'); END;CREATE TRIGGER "
        "no_delete BEFORE DELETE ON T_IO BEGIN SELECT RAISE(ABORT, 'full'); END;");
    for (int n = 0; n < 4000; ++n) {
        // Now and then a stretch in which the data file fails at the last write.
        if (!failing && chance(1)) {
            session.execNative(failTriggers);
            failing = true;
        } else if (failing && chance(20)) {
            session.execNative(QStringLiteral("DROP TRIGGER no_log; DROP TRIGGER no_delete;"));
            failing = false;
        }
        step();
        if (HasFatalFailure()) {
            ADD_FAILURE() << "at step " << n;
            return;
        }
        compareWithModel(n);
        if (HasFatalFailure()) return;
    }
    // Every kind of booking was stored, refused and failed along the way.
    ASSERT_EQ(outcomes.size(), 9u);
    for (const auto& [op, seen] : outcomes) {
        EXPECT_GT(seen.count(int(Status::Done)), 0u) << op;
        EXPECT_GT(seen.count(int(Status::Failed)), 0u) << op;
        if (op != "remove") {
            EXPECT_GT(seen.count(int(Status::Refused)), 0u) << op;
        }
    }
}
