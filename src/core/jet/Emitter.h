#pragma once
// Writes a bound statement as SQLite SQL. Native operators where SQLite means the same as
// Jet; our registered functions (jet_...) and the PINYIN collation where it does not.
#include "core/jet/Ast.h"

#include <QStringList>

namespace jet {

class Emitter {
public:
    explicit Emitter(const QString& sql) : sql_(sql) {}
    QString statement(const Statement& st);

    static QString quoteId(const QString& name);
    static QString quoteText(const QString& text);

private:
    friend class Call; // the function table's translations write their arguments
    [[noreturn]] void fail(int pos, const QString& what) const;
    QString select(const Select& s, bool named = true); // named: each column AS its name
    QString from(const FromItem& f);
    QString orderKey(const Expr& e);

    QString value(const Expr& e); // the Jet value; Booleans as -1/0
    QString truth(const Expr& e); // as a condition
    QString text(const Expr& e);  // as text, the way CStr shows it
    // An argument of jet_cat and jet_instr, which turn numbers into text themselves.
    QString catArg(const Expr& e);
    void catArgs(const Expr& e, QStringList& out);
    QString asDate(const Expr& e);                 // as the ISO text of a date
    QString stored(const Expr& e, JetType target); // as a column of the target type stores it
    QString comparison(const Expr& a, Op op, const Expr& b);

    QString sql_;
    const Select* outermost_ = nullptr; // the statement's own select
};

} // namespace jet
