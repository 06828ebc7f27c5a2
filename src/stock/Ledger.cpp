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

bool goodQuantity(double q) {
    return std::isfinite(q) && q >= 0.001;
}

QDate dateOf(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return vb::ParseDateTime(vb::Text(v)).date();
}

// The movement's typed values rounded and cleaned as they are stored; a refusal text when
// an amount is not a number that can be stored.
struct CleanMovement {
    MovementFields m;
    QString refusal;
};

CleanMovement cleanMovement(const MovementFields& in) {
    CleanMovement c{in, {}};
    c.m.SL = round2(in.SL);
    c.m.ZJE = round2(in.ZJE);
    c.m.GZJE = round2(in.GZJE);
    c.m.BZ = Clean(in.BZ);
    if (!goodQuantity(c.m.SL))
        c.refusal = kQuantityWrong;
    else if (!std::isfinite(c.m.ZJE) || !std::isfinite(c.m.GZJE))
        c.refusal = kAmountWrong;
    else if (!in.RQ.isValid())
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

void Ledger::writeStock(qlonglong goodsId, double zkc, double zcb, std::optional<double> dj) {
    QString sql = QStringLiteral("update T_TZ set ZKC=") + num(zkc) + QStringLiteral(",ZCB=") + num(zcb);
    if (dj) sql += QStringLiteral(",DJ=") + num(*dj);
    s_.execSql(sql + QStringLiteral(" where ID=") + num(goodsId));
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

void Ledger::updateMovement(qlonglong recordId, const MovementFields& m) {
    // The date as ISO text, which every dialect reads as that day.
    s_.execSql(QStringLiteral("update T_IO set RQ='") + m.RQ.toString(Qt::ISODate) + QStringLiteral("',SL=") +
               num(m.SL) + QStringLiteral(",ZJE=") + num(m.ZJE) + QStringLiteral(",GZJE=") + num(m.GZJE) +
               QStringLiteral(",JXID=") + num(m.JXID) + QStringLiteral(",KHXQID=") + num(m.KHXQID) +
               QStringLiteral(",BZ=") + quoted(m.BZ) + QStringLiteral(" where ID=") + num(recordId));
}

LedgerResult Ledger::registerGoods(const GoodsFields& goods, const MovementFields& firstPurchase) {
    const CleanGoods g = cleanGoods(goods);
    if (!g.refusal.isEmpty()) return LedgerResult::refused(g.refusal);
    MovementFields m = firstPurchase;
    m.SL = round2(m.SL);
    m.ZJE = round2(m.ZJE);
    m.GZJE = round2(m.GZJE);
    m.BZ = Clean(m.BZ);
    // Stock without a purchase behind it would break stock = purchases − sales.
    if (!std::isfinite(m.SL) || m.SL < 0) return LedgerResult::refused(kQuantityWrong);
    if (!std::isfinite(m.ZJE) || !std::isfinite(m.GZJE)) return LedgerResult::refused(kAmountWrong);
    if (m.SL > 0 && !m.RQ.isValid()) return LedgerResult::refused(kDateWrong);
    try {
        Transaction tx(s_);
        const qlonglong id =
            s_.addRow(QStringLiteral("T_TZ"), {{QStringLiteral("MC"), g.g.MC},
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
                                               // no stock, no unit cost
                                               {QStringLiteral("DJ"), m.SL > 0 ? m.ZJE / m.SL : 0.0}});
        if (m.SL > 0) insertMovement(-id, m);
        AppendLog(s_, kLogRegistered + g.g.MC + QLatin1Char('(') + g.g.XH + QLatin1Char(')'));
        tx.commit();
        return LedgerResult::done(id);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::bookPurchase(qlonglong goodsId, const MovementFields& in, const QString& logLine) {
    const CleanMovement c = cleanMovement(in);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const MovementFields& m = c.m;
    try {
        Transaction tx(s_);
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        const qlonglong id = insertMovement(-goodsId, m);
        const double zkc = round2(st->ZKC + m.SL);
        const double zcb = round2(st->ZCB + m.ZJE);
        // The stock is never below 0, so after a purchase it is above 0; a damaged row that
        // ends at 0 gets unit cost 0 rather than a division by zero.
        writeStock(goodsId, zkc, zcb, zkc != 0 ? zcb / zkc : 0.0);
        AppendLog(s_, logLine);
        tx.commit();
        return LedgerResult::done(id);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::bookSale(qlonglong goodsId, const MovementFields& in, const QString& logLine) {
    const CleanMovement c = cleanMovement(in);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const MovementFields& m = c.m;
    try {
        Transaction tx(s_);
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        // The stock in the data file now, not the figure the list showed when it was loaded.
        if (m.SL > round2(st->ZKC)) return LedgerResult::refused(kQuantityWrong);
        // Without any purchase record there is no first date to compare with: accepted.
        const auto first = firstPurchaseDate(goodsId);
        if (first && m.RQ < *first) return LedgerResult::refused(kDateWrong);
        const qlonglong id = insertMovement(goodsId, m);
        // The total cost falls in proportion, so the unit cost stays as it was.
        const double zkc = round2(st->ZKC - m.SL);
        const double zcb = round2((st->ZCB / st->ZKC) * (st->ZKC - m.SL));
        writeStock(goodsId, zkc, zcb);
        AppendLog(s_, logLine);
        tx.commit();
        return LedgerResult::done(id);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::editPurchase(qlonglong recordId, const MovementFields& in, const QString& logLine) {
    const CleanMovement c = cleanMovement(in);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const MovementFields& m = c.m;
    try {
        Transaction tx(s_);
        // The record as stored now: a list loaded earlier may hold older figures.
        const auto old = movement(recordId);
        if (!old || old->TZID >= 0) return LedgerResult::failed(kNoRecord);
        const qlonglong goodsId = -old->TZID;
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        // What has left the stock of this purchase cannot be taken back from it.
        if (m.SL < round2(old->SL - st->ZKC)) return LedgerResult::refused(kQuantityWrong);
        updateMovement(recordId, m);
        writeStock(goodsId, round2(st->ZKC + (m.SL - old->SL)), round2(st->ZCB + (m.ZJE - old->ZJE)));
        AppendLog(s_, logLine);
        tx.commit();
        return LedgerResult::done(recordId);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::editSale(qlonglong recordId, const MovementFields& in, const QString& logLine) {
    const CleanMovement c = cleanMovement(in);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const MovementFields& m = c.m;
    try {
        Transaction tx(s_);
        const auto old = movement(recordId);
        if (!old || old->TZID <= 0) return LedgerResult::failed(kNoRecord);
        const qlonglong goodsId = old->TZID;
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        // At most the stock as it would be without this sale.
        if (m.SL > round2(st->ZKC + old->SL)) return LedgerResult::refused(kQuantityWrong);
        const auto first = firstPurchaseDate(goodsId);
        if (first && m.RQ < *first) return LedgerResult::refused(kDateWrong);
        updateMovement(recordId, m);
        // The total cost is rebuilt from the unit cost and the new stock.
        const double zkc = round2(st->ZKC + old->SL - m.SL);
        writeStock(goodsId, zkc, round2(st->DJ * zkc));
        AppendLog(s_, logLine);
        tx.commit();
        return LedgerResult::done(recordId);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::editGoods(qlonglong goodsId, const GoodsFields& goods) {
    const CleanGoods c = cleanGoods(goods);
    if (!c.refusal.isEmpty()) return LedgerResult::refused(c.refusal);
    const GoodsFields& g = c.g;
    try {
        Transaction tx(s_);
        if (!stock(goodsId)) return LedgerResult::failed(kNoGoods);
        s_.execSql(QStringLiteral("update T_TZ set MC=") + quoted(g.MC) + QStringLiteral(",JC=") +
                   quoted(g.JC) + QStringLiteral(",XH=") + quoted(g.XH) + QStringLiteral(",KW=") +
                   quoted(g.KW) + QStringLiteral(",KCmin=") + num(g.KCmin) + QStringLiteral(",LSJ=") +
                   num(g.LSJ) + QStringLiteral(",PFJ=") + num(g.PFJ) + QStringLiteral(",DBJ=") + num(g.DBJ) +
                   QStringLiteral(" where ID=") + num(goodsId));
        AppendLog(s_, kLogGoodsEdited + g.MC + QLatin1Char('(') + g.XH + QLatin1Char(')'));
        tx.commit();
        return LedgerResult::done(goodsId);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::removeGoods(const GoodsRecord& goods) {
    try {
        Transaction tx(s_);
        if (!stock(goods.ID)) return LedgerResult::failed(kNoGoods);
        s_.execSql(QStringLiteral("delete from T_IO where abs(TZID)=") + num(goods.ID));
        s_.execSql(QStringLiteral("delete from T_TZ where ID=") + num(goods.ID));
        AppendLog(s_, kLogGoodsRemoved + goods.MC + QLatin1Char('(') + goods.XH + QLatin1Char(')'));
        tx.commit();
        return LedgerResult::done(goods.ID);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::undoLastSale(const SaleRecord& sale, const std::function<bool()>& confirm) {
    const qlonglong goodsId = sale.TZID;
    try {
        if (lastMovementId(goodsId) != sale.ID) return LedgerResult::refused(kOnlyLastSale);
        if (confirm && !confirm()) return LedgerResult::cancelled();
        Transaction tx(s_);
        // The sale as stored and the stock as it is now.
        const auto m = movement(sale.ID);
        if (!m || m->TZID != goodsId || lastMovementId(goodsId) != sale.ID)
            return LedgerResult::refused(kOnlyLastSale);
        const auto st = stock(goodsId);
        if (!st) return LedgerResult::failed(kNoGoods);
        const double zkc = round2(st->ZKC + m->SL);
        // Back at the unit cost; the sale's own amount plays no part.
        writeStock(goodsId, zkc, round2(zkc * st->DJ));
        s_.execSql(QStringLiteral("delete from T_IO where ID=") + num(sale.ID));
        tx.commit();
        return LedgerResult::done(sale.ID);
    } catch (const std::exception& e) {
        return failure(e);
    }
}

LedgerResult Ledger::undoLastPurchase(const PurchaseRecord& purchase, const std::function<bool()>& confirm) {
    const qlonglong goodsId = std::llabs(purchase.TZID);
    try {
        // Checks what the data file holds: the list may be older than the last change.
        auto check = [&]() -> std::optional<LedgerResult> {
            const auto m = movement(purchase.ID);
            if (!m || lastMovementId(-goodsId) != purchase.ID)
                return LedgerResult::refused(kOnlyLastPurchase);
            const auto st = stock(goodsId);
            if (!st) return LedgerResult::failed(kNoGoods);
            if (round2(st->ZKC) < round2(m->SL)) return LedgerResult::refused(kStockTooLow);
            return std::nullopt;
        };
        if (const auto no = check()) return *no;
        if (confirm && !confirm()) return LedgerResult::cancelled();
        Transaction tx(s_);
        if (const auto no = check()) return *no;
        const auto m = movement(purchase.ID);
        const auto st = stock(goodsId);
        const double zkc = round2(st->ZKC - m->SL);
        const double zcb = round2(st->ZCB - m->ZJE);
        writeStock(goodsId, zkc, zcb, zkc > 0 ? zcb / zkc : 0.0);
        s_.execSql(QStringLiteral("delete from T_IO where ID=") + num(purchase.ID));
        tx.commit();
        return LedgerResult::done(purchase.ID);
    } catch (const std::exception& e) {
        return failure(e);
    }
}
