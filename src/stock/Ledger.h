#pragma once
// The stock ledger: every booking that changes a goods item's stock quantity (ZKC), total
// cost (ZCB) or unit cost (DJ). Each operation checks its input against the data file as it
// is at that moment and stores its movement, its stock update and its log line completely
// or not at all. No windows here: the forms and the main window show the outcome.
#include "core/Records.h"

#include <QDate>
#include <QString>
#include <cstdlib>
#include <functional>
#include <optional>

class Session;

struct LedgerResult {
    enum class Status {
        Done,      // stored
        Refused,   // bad input or a rule of the ledger: `message` says which; nothing written
        Cancelled, // the operator answered No; nothing written
        Failed     // the data file failed; everything rolled back; `message` has the reason
    };
    Status status = Status::Done;
    QString message;
    qlonglong id = 0; // the new goods item or movement, where one is made

    bool ok() const { return status == Status::Done; }
    static LedgerResult done(qlonglong id = 0) { return {Status::Done, {}, id}; }
    static LedgerResult refused(const QString& why) { return {Status::Refused, why, 0}; }
    static LedgerResult cancelled() { return {Status::Cancelled, {}, 0}; }
    static LedgerResult failed(const QString& why) { return {Status::Failed, why, 0}; }
};

// The descriptive data and prices of a goods item, as typed (cleaned and rounded here).
struct GoodsFields {
    QString MC, JC, XH, KW;
    double KCmin = 0, LSJ = 0, PFJ = 0, DBJ = 0;
};

// One purchase or sale, as typed. Quantity and amounts are rounded to 2 decimals here.
struct MovementFields {
    double SL = 0;
    double ZJE = 0;
    double GZJE = 0;
    QDate RQ;
    qlonglong JXID = 0;   // supplier of a purchase, customer of a sale
    qlonglong KHXQID = 0; // customer demand served
    QString BZ;
};

// A goods item's three stock figures as stored.
struct StockFigures {
    double ZKC = 0, ZCB = 0, DJ = 0;
};

class Ledger {
public:
    explicit Ledger(Session& session) : s_(session) {}

    // A new goods item; with a quantity above 0 also its first purchase. DJ is amount ÷
    // quantity, or 0 without stock. Logs "新商品注册入库:name(model)". id = the goods ID.
    LedgerResult registerGoods(const GoodsFields& goods, const MovementFields& firstPurchase);

    // The movement operations log the line the form prepared when it opened.
    LedgerResult bookPurchase(qlonglong goodsId, const MovementFields& m, const QString& logLine);
    LedgerResult bookSale(qlonglong goodsId, const MovementFields& m, const QString& logLine);
    LedgerResult editPurchase(qlonglong recordId, const MovementFields& m, const QString& logLine);
    LedgerResult editSale(qlonglong recordId, const MovementFields& m, const QString& logLine);

    // Descriptive data and prices only; the stock figures never change here.
    LedgerResult editGoods(qlonglong goodsId, const GoodsFields& goods);
    // The goods item with all its movements. Logs "注销商品:MC(XH)" of the record given.
    LedgerResult removeGoods(const GoodsRecord& goods);

    // Undo the last-entered sale or purchase of a goods item. `confirm` asks the operator
    // once the undo is known to be possible; No cancels. No log line.
    LedgerResult undoLastSale(const SaleRecord& sale, const std::function<bool()>& confirm);
    LedgerResult undoLastPurchase(const PurchaseRecord& purchase, const std::function<bool()>& confirm);

    // The goods row as stored now (the editing forms describe the item from it).
    std::optional<GoodsRecord> goods(qlonglong goodsId);

private:
    struct Movement {
        qlonglong ID = 0, TZID = 0;
        double SL = 0, ZJE = 0;
        qlonglong goodsId() const { return std::llabs(TZID); }
    };
    // Runs `body` in one transaction with the log line (none when empty): stored when the
    // body is done, rolled back on a refusal or a failure of the data file.
    LedgerResult write(const QString& logLine, const std::function<LedgerResult()>& body);
    // The typed movement cleaned, refused when it cannot be stored, else written by `body`.
    LedgerResult writeMovement(const MovementFields& in, const QString& logLine,
                               const std::function<LedgerResult(const MovementFields&)>& body);
    // A sale or purchase edit: `body` gets the record and its goods item's stock as stored.
    LedgerResult editMovement(
        qlonglong recordId, bool sale, const MovementFields& in, const QString& logLine,
        const std::function<LedgerResult(const Movement&, const StockFigures&, const MovementFields&)>& body);
    // `attempt(false)` checks whether the undo can be done; `attempt(true)` also does it.
    LedgerResult undo(const std::function<bool()>& confirm, const std::function<LedgerResult(bool)>& attempt);

    std::optional<StockFigures> stock(qlonglong goodsId);
    std::optional<Movement> movement(qlonglong recordId);
    qlonglong lastMovementId(qlonglong signedGoodsId);
    // The date of the goods item's earliest purchase; none when it has no purchase record.
    std::optional<QDate> firstPurchaseDate(qlonglong goodsId);
    bool beforeFirstPurchase(qlonglong goodsId, const QDate& date);
    // Empty when written; a refusal, writing nothing, when a figure is beyond what a number
    // holds (a huge amount over a tiny quantity).
    QString writeStock(qlonglong goodsId, double zkc, double zcb, std::optional<double> dj = std::nullopt);
    qlonglong insertMovement(qlonglong tzid, const MovementFields& m);
    void updateMovement(qlonglong recordId, const MovementFields& m);
    void deleteMovement(qlonglong recordId);

    Session& s_;
};
