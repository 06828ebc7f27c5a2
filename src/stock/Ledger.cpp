#include "stock/Ledger.h"

#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Transaction.h"
#include "core/Vb.h"
#include "stock/StockTexts.h"

#include <charconv>
#include <cmath>
#include <exception>

using namespace stocktext;

namespace {

// A number as SQL text: the shortest text that reads back as exactly the same double, so
// that an unrounded unit cost survives the round trip.
QString num(double v) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v == 0.0 ? 0.0 : v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString num(qlonglong v) {
    return QString::number(v);
}

// Quantities are compared on hundredths too: 0.8 − 0.1 is 0.7000000000000001 in doubles.
double round2(double v) {
    return vb::Round(v, 2);
}

QDate dateOf(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return vb::ParseDateTime(vb::Text(v)).date();
}

// The movement's typed values rounded and cleaned as they are stored; a refusal text when
// a quantity, amount or date cannot be stored. A registration may come without any quantity
// (`mayBeNone`): then no purchase is made.
struct CleanMovement {
    MovementFields m;
    QString refusal;
};

CleanMovement cleanMovement(const MovementFields& in, bool mayBeNone = false) {
    CleanMovement c{in, {}};
    c.m.SL = round2(in.SL);
    c.m.ZJE = round2(in.ZJE);
    c.m.GZJE = round2(in.GZJE);
    c.m.BZ = Clean(in.BZ);
    // Rounded, a quantity is 0 or at least a hundredth.
    if (!std::isfinite(c.m.SL) || c.m.SL < 0 || (c.m.SL == 0 && !mayBeNone))
        c.refusal = kQuantityWrong;
    else if (!std::isfinite(c.m.ZJE) || !std::isfinite(c.m.GZJE))
        c.refusal = kAmountWrong;
    else if (c.m.SL > 0 && !in.RQ.isValid())
        c.refusal = kDateWrong;
    return c;
}

struct CleanGoods {
    GoodsFields g;
    QString refusal;
};

CleanGoods cleanGoods(const GoodsFields& in) {
    CleanGoods c{in, {}};
    c.g.MC = Clean(in.MC);
    c.g.JC = Clean(in.JC);
    c.g.XH = Clean(in.XH);
    c.g.KW = Clean(in.KW);
    c.g.KCmin = round2(in.KCmin);
    c.g.LSJ = round2(in.LSJ);
    c.g.PFJ = round2(in.PFJ);
    c.g.DBJ = round2(in.DBJ);
    if (AnsiByteLength(c.g.MC) < 4)
        c.refusal = kNameTooShort;
    else if (!std::isfinite(c.g.KCmin) || !std::isfinite(c.g.LSJ) || !std::isfinite(c.g.PFJ) ||
             !std::isfinite(c.g.DBJ))
        c.refusal = kNumberWrong;
    return c;
}

// A stock figure the data file must never get: the arithmetic went beyond what a number holds.
QString unstorable(double zkc, double zcb, double dj) {
    if (!std::isfinite(zkc)) return kQuantityWrong;
    if (!std::isfinite(zcb) || !std::isfinite(dj)) return kAmountWrong;
    return {};
}

QString quoted(const QString& cleanText) {
    return QLatin1Char('\'') + cleanText + QLatin1Char('\'');
}

LedgerResult failure(const std::exception& e) {
    return LedgerResult::failed(QString::fromStdString(e.what()));
}

const QString kNoGoods = QStringLiteral("商品已不存在");
const QString kNoRecord = QStringLiteral("记录已不存在");

} // namespace

std::optional<StockFigures> Ledger::stock(qlonglong goodsId) {
    const QueryResult r = s_.query(QStringLiteral("select ZKC,ZCB,DJ from T_TZ where ID=") + num(goodsId));
    if (r.isEmpty()) return std::nullopt;
    return StockFigures{vb::Number(r.value(0, 0)), vb::Number(r.value(0, 1)), vb::Number(r.value(0, 2))};
}

std::optional<GoodsRecord> Ledger::goods(qlonglong goodsId) {
    const QueryResult r = s_.query(QStringLiteral("select * from T_TZ where ID=") + num(goodsId));
    if (r.isEmpty()) return std::nullopt;
    GoodsRecord g;
    const auto text = [&](const char* c) { return vb::Text(r.value(0, QLatin1String(c))); };
    const auto number = [&](const char* c) { return vb::Number(r.value(0, QLatin1String(c))); };
    g.ID = goodsId;
    g.JC = text("JC");
    g.MC = text("MC");
    g.XH = text("XH");
    g.KW = text("KW");
    g.KCmin = number("KCmin");
    g.ZKC = number("ZKC");
    g.ZCB = number("ZCB");
    g.LSJ = number("LSJ");
    g.PFJ = number("PFJ");
    g.DBJ = number("DBJ");
    g.label = g.MC + QLatin1Char('/') + g.JC + QLatin1Char('/') + g.XH;
    return g;
}

std::optional<QDate> Ledger::firstPurchaseDate(qlonglong goodsId) {
    const QueryResult r = s_.query(QStringLiteral("select top 1 id,RQ from T_IO where TZID=-") +
                                   num(goodsId) + QStringLiteral(" order by RQ"));
    if (r.isEmpty() || r.value(0, 1).isNull()) return std::nullopt;
    const QDate d = dateOf(r.value(0, 1));
    if (!d.isValid()) return std::nullopt;
    return d;
}

bool Ledger::beforeFirstPurchase(qlonglong goodsId, const QDate& date) {
    // Without any purchase record there is no first date to compare with: accepted.
    const auto first = firstPurchaseDate(goodsId);
    return first && date < *first;
}

std::optional<Ledger::Movement> Ledger::movement(qlonglong recordId) {
    const QueryResult r =
        s_.query(QStringLiteral("select ID,TZID,SL,ZJE from T_IO where ID=") + num(recordId));
    if (r.isEmpty()) return std::nullopt;
    return Movement{r.value(0, 0).toLongLong(), r.value(0, 1).toLongLong(), vb::Number(r.value(0, 2)),
                    vb::Number(r.value(0, 3))};
}

// "Last" means last entered: the highest ID, whatever the dates say.
qlonglong Ledger::lastMovementId(qlonglong signedGoodsId) {
    const QueryResult r = s_.query(QStringLiteral("select top 1 id  from T_IO where TZID=") +
                                   num(signedGoodsId) + QStringLiteral(" order by ID desc"));
    return r.isEmpty() ? 0 : r.value(0, 0).toLongLong();
}

QString Ledger::writeStock(qlonglong goodsId, double zkc, double zcb, std::optional<double> dj) {
    if (const QString why = unstorable(zkc, zcb, dj.value_or(0.0)); !why.isEmpty()) return why;
    QString sql = QStringLiteral("update T_TZ set ZKC=") + num(zkc) + QStringLiteral(",ZCB=") + num(zcb);
    if (dj) sql += QStringLiteral(",DJ=") + num(*dj);
    s_.execSql(sql + QStringLiteral(" where ID=") + num(goodsId));
    return {};
}

qlonglong Ledger::insertMovement(qlonglong tzid, const MovementFields& m) {
    return s_.addRow(QStringLiteral("T_IO"), {{QStringLiteral("TZID"), tzid},
                                              {QStringLiteral("RQ"), vb::DateText(m.RQ)},
                                              {QStringLiteral("SL"), m.SL},
                                              {QStringLiteral("ZJE"), m.ZJE},
                                              {QStringLiteral("GZJE"), m.GZJE},
                                              {QStringLiteral("JXID"), m.JXID},
                                              {QStringLiteral("KHXQID"), m.KHXQID},
                                              {QStringLiteral("BZ"), m.BZ}});
}

void Ledger::deleteMovement(qlonglong recordId) {
    s_.execSql(QStringLiteral("delete from T_IO where ID=") + num(recordId));
}

void Ledger::updateMovement(qlonglong recordId, const MovementFields& m) {
    // The date as ISO text, which every dialect reads as that day.
    s_.execSql(QStringLiteral("update T_IO set RQ='") + m.RQ.toString(Qt::ISODate) + QStringLiteral("',SL=") +
               num(m.SL) + QStringLiteral(",ZJE=") + num(m.ZJE) + QStringLiteral(",GZJE=") + num(m.GZJE) +
               QStringLiteral(",JXID=") + num(m.JXID) + QStringLiteral(",KHXQID=") + num(m.KHXQID) +
               QStringLiteral(",BZ=") + quoted(m.BZ) + QStringLiteral(" where ID=") + num(recordId));
}

LedgerResult Ledger::write(const QString& logLine, const std::function<LedgerResult()>& body) {
    try {
        Transaction tx(s_);
        const LedgerResult r = body();
        if (!r.ok()) return r; // rolled back
        if (!logLine.isEmpty()) AppendLog(s_, logLine);
        tx.commit();
        return r;
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::writeMovement(const MovementFields& in, const QString& logLine,
                                   const std::function<LedgerResult(const MovementFields&)>& body) {
    const CleanMovement c = cleanMovement(in);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    return write(logLine, [&] { return body(c.m); });
}

LedgerResult Ledger::editMovement(
    qlonglong recordId, bool sale, const MovementFields& in, const QString& logLine,
    const std::function<LedgerResult(const Movement&, const StockFigures&, const MovementFields&)>& body) {
    return writeMovement(in, logLine, [&](const MovementFields& m) {
        // The record as stored now: a list loaded earlier may hold older figures.
        const auto old = movement(recordId);
        if (!old || (sale ? old->TZID <= 0 : old->TZID >= 0)) return LedgerResult::failed(kNoRecord);
        const auto st = stock(old->goodsId());
        if (!st) return LedgerResult::failed(kNoGoods);
        return body(*old, *st, m);
    });
}

LedgerResult Ledger::undo(const std::function<bool()>& confirm,
                          const std::function<LedgerResult(bool)>& attempt) {
    try {
        // Checked before the question and again inside the transaction: the list the
        // operator chose from may be older than the last change.
        if (const LedgerResult r = attempt(false); !r.ok()) return r;
        if (confirm && !confirm()) return LedgerResult::cancelled();
    } catch (const std::exception& e) {
        return failure(e);
    }
    return write({}, [&] { return attempt(true); }); // undos write no log line
}

LedgerResult Ledger::registerGoods(const GoodsFields& goods, const MovementFields& firstPurchase) {
    const CleanGoods g = cleanGoods(goods);
    if (!g.refusal.isEmpty()) return LedgerResult::refused(g.refusal);
    // Stock without a purchase behind it would break stock = purchases − sales.
    const CleanMovement c = cleanMovement(firstPurchase, true);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const MovementFields& m = c.m;
    const double dj = m.SL > 0 ? m.ZJE / m.SL : 0.0; // no stock, no unit cost
    if (const QString why = unstorable(m.SL, m.ZJE, dj); !why.isEmpty()) return LedgerResult::refused(why);
    return write(kLogRegistered + g.g.MC + QLatin1Char('(') + g.g.XH + QLatin1Char(')'), [&] {
        const qlonglong id = s_.addRow(QStringLiteral("T_TZ"), {{QStringLiteral("MC"), g.g.MC},
                                                                {QStringLiteral("JC"), g.g.JC},
                                                                {QStringLiteral("XH"), g.g.XH},
                                                                {QStringLiteral("KW"), g.g.KW},
                                                                {QStringLiteral("KCmin"), g.g.KCmin},
                                                                {QStringLiteral("LSJ"), g.g.LSJ},
                                                                {QStringLiteral("PFJ"), g.g.PFJ},
                                                                {QStringLiteral("DBJ"), g.g.DBJ},
                                                                {QStringLiteral("ZKC"), m.SL},
                                                                {QStringLiteral("ZCB"), m.ZJE},
                                                                {QStringLiteral("BJ"), false},
                                                                {QStringLiteral("DJ"), dj}});
        if (m.SL > 0) insertMovement(-id, m);
        return LedgerResult::done(id);
    });
}

LedgerResult Ledger::bookPurchase(qlonglong goodsId, const MovementFields& in, const QString& logLine) {
    return writeMovement(in, logLine, [&](const MovementFields& m) {
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        const qlonglong id = insertMovement(-goodsId, m);
        const double zkc = round2(st->ZKC + m.SL);
        const double zcb = round2(st->ZCB + m.ZJE);
        // The stock is never below 0, so after a purchase it is above 0; a damaged row that
        // ends at 0 gets unit cost 0 rather than a division by zero.
        if (const QString why = writeStock(goodsId, zkc, zcb, zkc != 0 ? zcb / zkc : 0.0); !why.isEmpty())
            return LedgerResult::refused(why);
        return LedgerResult::done(id);
    });
}

LedgerResult Ledger::bookSale(qlonglong goodsId, const MovementFields& in, const QString& logLine) {
    return writeMovement(in, logLine, [&](const MovementFields& m) {
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        // The stock in the data file now, not the figure the list showed when it was loaded.
        if (m.SL > round2(st->ZKC)) return LedgerResult::refused(kQuantityWrong);
        if (beforeFirstPurchase(goodsId, m.RQ)) return LedgerResult::refused(kDateWrong);
        const qlonglong id = insertMovement(goodsId, m);
        // The total cost falls in proportion, so the unit cost stays as it was.
        const double zkc = round2(st->ZKC - m.SL);
        const double zcb = round2((st->ZCB / st->ZKC) * (st->ZKC - m.SL));
        if (const QString why = writeStock(goodsId, zkc, zcb); !why.isEmpty())
            return LedgerResult::refused(why);
        return LedgerResult::done(id);
    });
}

LedgerResult Ledger::editPurchase(qlonglong recordId, const MovementFields& in, const QString& logLine) {
    return editMovement(recordId, false, in, logLine,
                        [&](const Movement& old, const StockFigures& st, const MovementFields& m) {
                            // What has left the stock of this purchase cannot be taken back from it.
                            if (m.SL < round2(old.SL - st.ZKC)) return LedgerResult::refused(kQuantityWrong);
                            updateMovement(recordId, m);
                            if (const QString why =
                                    writeStock(old.goodsId(), round2(st.ZKC + (m.SL - old.SL)),
                                               round2(st.ZCB + (m.ZJE - old.ZJE)));
                                !why.isEmpty())
                                return LedgerResult::refused(why);
                            return LedgerResult::done(recordId);
                        });
}

LedgerResult Ledger::editSale(qlonglong recordId, const MovementFields& in, const QString& logLine) {
    return editMovement(recordId, true, in, logLine,
                        [&](const Movement& old, const StockFigures& st, const MovementFields& m) {
                            // At most the stock as it would be without this sale.
                            if (m.SL > round2(st.ZKC + old.SL)) return LedgerResult::refused(kQuantityWrong);
                            if (beforeFirstPurchase(old.goodsId(), m.RQ))
                                return LedgerResult::refused(kDateWrong);
                            updateMovement(recordId, m);
                            // The total cost is rebuilt from the unit cost and the new stock.
                            const double zkc = round2(st.ZKC + old.SL - m.SL);
                            if (const QString why = writeStock(old.goodsId(), zkc, round2(st.DJ * zkc));
                                !why.isEmpty())
                                return LedgerResult::refused(why);
                            return LedgerResult::done(recordId);
                        });
}

LedgerResult Ledger::editGoods(qlonglong goodsId, const GoodsFields& goods) {
    const CleanGoods c = cleanGoods(goods);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const GoodsFields& g = c.g;
    return write(kLogGoodsEdited + g.MC + QLatin1Char('(') + g.XH + QLatin1Char(')'), [&] {
        if (!stock(goodsId)) return LedgerResult::failed(kNoGoods);
        s_.execSql(QStringLiteral("update T_TZ set MC=") + quoted(g.MC) + QStringLiteral(",JC=") +
                   quoted(g.JC) + QStringLiteral(",XH=") + quoted(g.XH) + QStringLiteral(",KW=") +
                   quoted(g.KW) + QStringLiteral(",KCmin=") + num(g.KCmin) + QStringLiteral(",LSJ=") +
                   num(g.LSJ) + QStringLiteral(",PFJ=") + num(g.PFJ) + QStringLiteral(",DBJ=") + num(g.DBJ) +
                   QStringLiteral(" where ID=") + num(goodsId));
        return LedgerResult::done(goodsId);
    });
}

LedgerResult Ledger::removeGoods(const GoodsRecord& goods) {
    return write(kLogGoodsRemoved + goods.MC + QLatin1Char('(') + goods.XH + QLatin1Char(')'), [&] {
        if (!stock(goods.ID)) return LedgerResult::failed(kNoGoods);
        s_.execSql(QStringLiteral("delete from T_IO where abs(TZID)=") + num(goods.ID));
        s_.execSql(QStringLiteral("delete from T_TZ where ID=") + num(goods.ID));
        return LedgerResult::done(goods.ID);
    });
}

LedgerResult Ledger::undoLastSale(const SaleRecord& sale, const std::function<bool()>& confirm) {
    const qlonglong goodsId = sale.TZID;
    return undo(confirm, [&](bool apply) {
        const auto m = movement(sale.ID);
        if (!m || m->TZID != goodsId || lastMovementId(goodsId) != sale.ID)
            return LedgerResult::refused(kOnlyLastSale);
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        if (apply) {
            // Back at the unit cost; the sale's own amount plays no part.
            const double zkc = round2(st->ZKC + m->SL);
            if (const QString why = writeStock(goodsId, zkc, round2(zkc * st->DJ)); !why.isEmpty())
                return LedgerResult::refused(why);
            deleteMovement(sale.ID);
        }
        return LedgerResult::done(sale.ID);
    });
}

LedgerResult Ledger::undoLastPurchase(const PurchaseRecord& purchase, const std::function<bool()>& confirm) {
    const qlonglong goodsId = std::llabs(purchase.TZID);
    return undo(confirm, [&](bool apply) {
        const auto m = movement(purchase.ID);
        if (!m || m->TZID != -goodsId || lastMovementId(-goodsId) != purchase.ID)
            return LedgerResult::refused(kOnlyLastPurchase);
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        if (round2(st->ZKC) < round2(m->SL)) return LedgerResult::refused(kStockTooLow);
        if (apply) {
            const double zkc = round2(st->ZKC - m->SL);
            const double zcb = round2(st->ZCB - m->ZJE);
            if (const QString why = writeStock(goodsId, zkc, zcb, zkc > 0 ? zcb / zkc : 0.0); !why.isEmpty())
                return LedgerResult::refused(why);
            deleteMovement(purchase.ID);
        }
        return LedgerResult::done(purchase.ID);
    });
}
