#pragma once
// Whether a data file is sound: SQLite's own integrity check, then the ledger's rules. Every
// goods item's stock is its purchases minus its sales, to the cent; stock, total cost and unit
// cost are never empty; the stock is never negative; no movement names a goods item that does
// not exist. Reads only, in a few statements over whole tables, so a large shop takes seconds.
#include <QStringList>

class Session;

struct LedgerCheckResult {
    QStringList damage; // the integrity check's complaints; the ledger is not read then
    QStringList goods;  // one line for each goods item that disagrees, by goods number
    bool sound() const { return damage.isEmpty() && goods.isEmpty(); }
    // What the operator is shown: the complaints, or the line that all is well.
    QStringList lines() const;
};

class LedgerCheck {
public:
    explicit LedgerCheck(Session& session) : s_(session) {}
    // Throws DbError when the data file cannot be read at all.
    LedgerCheckResult run();

private:
    Session& s_;
};
