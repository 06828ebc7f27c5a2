// Thousands of random bookings against the ledger. Whether it stores or refuses a booking is
// its own business here; what it stores must follow the arithmetic of each kind of movement,
// the stored movements replayed must give every goods item's stock, and nothing is stored
// while the data file fails.
#include "LedgerTestSupport.h"

#include "core/TextRoutines.h"

#include <QRandomGenerator>
#include <cmath>
#include <map>
#include <set>

using Status = LedgerResult::Status;

namespace {

double r2(double v) {
    return vb::Round(v, 2);
}

struct ModelGoods {
    double ZKC = 0, ZCB = 0, DJ = 0;
    QString MC;
};

struct ModelMove {
    qlonglong goods = 0;
    bool sale = false;
    double SL = 0, ZJE = 0;
};

class LedgerRandomTest : public LedgerTest {
protected:
    QRandomGenerator rng{20090109};
    // What the ledger holds after the bookings it stored; movements by ID, so the last
    // entered is the highest.
    std::map<qlonglong, ModelGoods> goodsOf;
    std::map<qlonglong, ModelMove> moves;
    int logLines = 0;
    std::vector<qlonglong> everGoods, everMoves; // removed ones too, to act on stale rows
    bool failing = false;                        // the data file refuses the last write of each action
    std::map<std::string, std::set<Status>> outcomes;

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
    QString name() {
        static const QStringList names = {"螺丝钉子", "扳手工具", "abcd",     "铁锤",
                                          "a",        "钉",       "铜线电缆", "O'Neil螺母"};
        return names[pick(int(names.size()))];
    }
    qlonglong someGoods() {
        if (everGoods.empty()) return 1;
        if (chance(5) || goodsOf.empty()) return everGoods[pick(int(everGoods.size()))];
        auto it = goodsOf.begin();
        std::advance(it, pick(int(goodsOf.size())));
        return it->first;
    }
    // A movement of the wanted kind, now and then one that no longer exists.
    std::optional<qlonglong> someMove(bool sale) {
        std::vector<qlonglong> ids;
        for (const auto& [id, m] : moves)
            if (m.sale == sale) ids.push_back(id);
        if ((chance(5) || ids.empty()) && !everMoves.empty()) return everMoves[pick(int(everMoves.size()))];
        if (ids.empty()) return std::nullopt;
        return chance(50) ? ids.back() : ids[pick(int(ids.size()))]; // the last ones can be undone
    }
    const ModelMove* known(qlonglong id, bool sale) {
        const auto it = moves.find(id);
        return it != moves.end() && it->second.sale == sale ? &it->second : nullptr;
    }
    MovementFields fields(double sl, double zje) {
        MovementFields m;
        m.SL = sl;
        m.ZJE = zje;
        m.GZJE = chance(20) ? amount() : 0;
        m.RQ = QDate(2009, 1, 1).addDays(pick(60));
        m.JXID = pick(3);
        m.KHXQID = pick(3);
        m.BZ = chance(20) ? QStringLiteral("备'注") : QString();
        return m;
    }

    // A refusal in the ledger's own words; a stored booking applied to the model.
    void settle(const char* op, const LedgerResult& r, const std::function<void()>& apply) {
        static const QStringList refusals = {"商品名称最少4个西文字符, 保存失败！",
                                             "商品数量错误, 保存失败！",
                                             "日 期 有 误 , 保 存 失 败 ！",
                                             "金额错误, 保存失败！",
                                             "仅可以撤销本商品的最后一次销售记录！    ",
                                             "仅可以撤销本商品的最后一次进货记录！    ",
                                             "库存商品数量不足，拒绝本次还原！  "};
        outcomes[op].insert(r.status);
        if (r.status == Status::Refused) {
            ASSERT_TRUE(refusals.contains(r.message)) << op << ": " << r.message.toStdString();
        }
        if (!r.ok()) return;
        ASSERT_FALSE(failing) << op << " stored while the data file failed";
        apply();
        logLines += !std::string(op).starts_with("undo"); // undos write no log line
    }

    void step() {
        switch (pick(9)) {
        case 0: { // register, more seldom once there are a few goods items
            if (goodsOf.size() > 12 && chance(80)) return;
            GoodsFields g = goods(name());
            g.XH = QStringLiteral("M%1").arg(pick(20));
            const MovementFields m = fields(chance(20) ? 0 : quantity(10), amount());
            const LedgerResult r = ledger.registerGoods(g, m);
            settle("register", r, [&] {
                const double sl = r2(m.SL), a = r2(m.ZJE);
                goodsOf[r.id] = {sl, a, sl > 0 ? a / sl : 0, Clean(g.MC)};
                everGoods.push_back(r.id);
                if (sl > 0) {
                    const qlonglong first = firstPurchaseOf(r.id);
                    moves[first] = {r.id, false, sl, a};
                    everMoves.push_back(first);
                }
            });
            break;
        }
        case 1: { // purchase: the cost averaged over the new stock
            const qlonglong g = someGoods();
            const MovementFields m = fields(quantity(5), amount());
            const LedgerResult r = ledger.bookPurchase(g, m, QStringLiteral("进货登记:x"));
            settle("purchase", r, [&] {
                ASSERT_TRUE(goodsOf.count(g));
                ModelGoods& mg = goodsOf[g];
                mg.ZKC = r2(mg.ZKC + r2(m.SL));
                mg.ZCB = r2(mg.ZCB + r2(m.ZJE));
                mg.DJ = mg.ZCB / mg.ZKC;
                moves[r.id] = {g, false, r2(m.SL), r2(m.ZJE)};
                everMoves.push_back(r.id);
            });
            break;
        }
        case 2: { // sale: the cost falls in proportion
            const qlonglong g = someGoods();
            const MovementFields m = fields(quantity(goodsOf.count(g) ? goodsOf[g].ZKC : 3), amount());
            const LedgerResult r = ledger.bookSale(g, m, QStringLiteral("售出登记:x"));
            settle("sale", r, [&] {
                ASSERT_TRUE(goodsOf.count(g));
                ModelGoods& mg = goodsOf[g];
                const double z = mg.ZKC, q = r2(m.SL);
                mg.ZKC = r2(z - q);
                mg.ZCB = r2(mg.ZCB / z * (z - q));
                moves[r.id] = {g, true, q, r2(m.ZJE)};
                everMoves.push_back(r.id);
            });
            break;
        }
        case 3: { // edit a purchase: the differences carried into the goods item
            const auto id = someMove(false);
            if (!id) return;
            const ModelMove* old = known(*id, false);
            const double sl = old ? old->SL : 1;
            const MovementFields m = fields(chance(50) ? sl : quantity(sl), amount());
            const LedgerResult r = ledger.editPurchase(*id, m, QStringLiteral("修改进货记录:x"));
            settle("edit purchase", r, [&] {
                ASSERT_TRUE(old);
                ModelMove& mm = moves[*id];
                ModelGoods& mg = goodsOf[mm.goods];
                mg.ZKC = r2(mg.ZKC + (r2(m.SL) - mm.SL));
                mg.ZCB = r2(mg.ZCB + (r2(m.ZJE) - mm.ZJE));
                mm = {mm.goods, false, r2(m.SL), r2(m.ZJE)};
            });
            break;
        }
        case 4: { // edit a sale: the cost rebuilt from the unit cost
            const auto id = someMove(true);
            if (!id) return;
            const ModelMove* old = known(*id, true);
            const double most = old ? old->SL + goodsOf[old->goods].ZKC : 1;
            const MovementFields m = fields(chance(30) ? most : quantity(most), amount());
            const LedgerResult r = ledger.editSale(*id, m, QStringLiteral("修改销售记录:x"));
            settle("edit sale", r, [&] {
                ASSERT_TRUE(old);
                ModelMove& mm = moves[*id];
                ModelGoods& mg = goodsOf[mm.goods];
                mg.ZKC = r2(mg.ZKC + mm.SL - r2(m.SL));
                mg.ZCB = r2(mg.DJ * mg.ZKC);
                mm = {mm.goods, true, r2(m.SL), r2(m.ZJE)};
            });
            break;
        }
        case 5: { // edit goods
            const qlonglong g = someGoods();
            GoodsFields f = goods(name());
            f.LSJ = amount();
            const LedgerResult r = ledger.editGoods(g, f);
            settle("edit goods", r, [&] {
                ASSERT_TRUE(goodsOf.count(g));
                goodsOf[g].MC = Clean(f.MC);
            });
            break;
        }
        case 6: { // remove goods, rarely
            if (!chance(15)) return;
            const qlonglong g = someGoods();
            GoodsRecord rec;
            rec.ID = g;
            const LedgerResult r = ledger.removeGoods(rec);
            settle("remove", r, [&] {
                ASSERT_EQ(goodsOf.erase(g), 1u);
                std::erase_if(moves, [&](const auto& kv) { return kv.second.goods == g; });
            });
            break;
        }
        case 7: { // undo a sale: back at the unit cost
            const auto id = someMove(true);
            if (!id) return;
            SaleRecord rec = saleRecord(*id);
            if (!known(*id, true)) rec.ID = *id, rec.TZID = everGoods.empty() ? 1 : everGoods.front();
            const bool yes = chance(85);
            const LedgerResult r = ledger.undoLastSale(rec, [&] { return yes; });
            settle("undo sale", r, [&] {
                ASSERT_TRUE(known(*id, true) && yes);
                ModelGoods& mg = goodsOf[moves[*id].goods];
                mg.ZKC = r2(mg.ZKC + moves[*id].SL);
                mg.ZCB = r2(mg.ZKC * mg.DJ);
                moves.erase(*id);
            });
            break;
        }
        case 8: { // undo a purchase: its quantity and amount taken back, the unit cost anew
            const auto id = someMove(false);
            if (!id) return;
            PurchaseRecord rec = purchaseRecord(*id);
            if (!known(*id, false)) rec.ID = *id, rec.TZID = everGoods.empty() ? -1 : -everGoods.front();
            const bool yes = chance(85);
            const LedgerResult r = ledger.undoLastPurchase(rec, [&] { return yes; });
            settle("undo purchase", r, [&] {
                ASSERT_TRUE(known(*id, false) && yes);
                ModelGoods& mg = goodsOf[moves[*id].goods];
                mg.ZKC = r2(mg.ZKC - moves[*id].SL);
                mg.ZCB = r2(mg.ZCB - moves[*id].ZJE);
                mg.DJ = mg.ZKC > 0 ? mg.ZCB / mg.ZKC : 0;
                moves.erase(*id);
            });
            break;
        }
        }
    }

    // The data file holds what the model holds, and its movements replayed give each stock.
    void compareWithModel(int stepNo) {
        SCOPED_TRACE(testing::Message() << "step " << stepNo);
        const QueryResult io = session.query(QStringLiteral("select ID,TZID,SL,ZJE from T_IO order by ID"));
        ASSERT_EQ(io.rowCount(), int(moves.size()));
        std::map<qlonglong, double> moved; // purchases − sales per goods item
        int i = 0;
        for (const auto& [id, m] : moves) {
            ASSERT_EQ(io.value(i, 0).toLongLong(), id);
            ASSERT_EQ(io.value(i, 1).toLongLong(), m.sale ? m.goods : -m.goods);
            ASSERT_EQ(io.value(i, 2).toDouble(), m.SL);
            ASSERT_EQ(io.value(i, 3).toDouble(), m.ZJE);
            ASSERT_GT(m.SL, 0);
            moved[m.goods] += m.sale ? -m.SL : m.SL;
            ++i;
        }
        const QueryResult tz = session.query(QStringLiteral("select ID,ZKC,ZCB,DJ,MC from T_TZ order by ID"));
        ASSERT_EQ(tz.rowCount(), int(goodsOf.size()));
        i = 0;
        for (const auto& [id, g] : goodsOf) {
            ASSERT_EQ(tz.value(i, 0).toLongLong(), id);
            for (int c = 1; c <= 3; ++c)
                ASSERT_FALSE(tz.value(i, c).isNull()) << "Null in goods " << id;
            ASSERT_DOUBLE_EQ(tz.value(i, 1).toDouble(), g.ZKC) << "ZKC of " << id;
            ASSERT_DOUBLE_EQ(tz.value(i, 2).toDouble(), g.ZCB) << "ZCB of " << id;
            ASSERT_DOUBLE_EQ(tz.value(i, 3).toDouble(), g.DJ) << "DJ of " << id;
            ASSERT_EQ(tz.value(i, 4).toString(), g.MC);
            ASSERT_GE(g.ZKC, 0);
            ASSERT_NEAR(g.ZKC, moved[id], 1e-6) << "goods " << id;
            ASSERT_TRUE(std::isfinite(g.ZCB) && std::isfinite(g.DJ));
            ++i;
        }
        ASSERT_EQ(count("T_txt"), logLines);
    }
};

} // namespace

TEST_F(LedgerRandomTest, ThousandsOfBookingsKeepTheLedgerWhole) {
    session.execNative(QStringLiteral("PRAGMA synchronous=OFF")); // a test file needs no fsync
    for (int n = 0; n < 4000; ++n) {
        // Now and then a stretch in which the data file fails at the last write.
        if (!failing && chance(1)) {
            session.execNative(
                QStringLiteral("CREATE TRIGGER no_log BEFORE INSERT ON T_txt BEGIN SELECT RAISE(ABORT, "
                               "'full'); END;CREATE TRIGGER "
                               "no_delete BEFORE DELETE ON T_IO BEGIN SELECT RAISE(ABORT, 'full'); END;"));
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
        EXPECT_TRUE(seen.count(Status::Done) && seen.count(Status::Failed)) << op;
        EXPECT_TRUE(op == "remove" || seen.count(Status::Refused)) << op;
    }
}
