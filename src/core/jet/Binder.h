#pragma once
// The typing pass: resolves every table and column of a statement against the catalogue
// (innermost select first, then outwards, as correlated sub-selects need), gives every
// expression its Jet type, expands "*" and names the result columns.
#include "core/jet/Ast.h"
#include "core/jet/Catalog.h"

#include <QSet>

namespace jet {

class Binder {
public:
    Binder(Catalog& catalog, const QString& sql) : catalog_(catalog), sql_(sql) {}
    // Throws JetError for an unknown table, column or function, or a misuse of one.
    void bind(Statement& st);

    // Jet's data-definition type names (COUNTER, String, Long, ...) as a column type.
    static JetType ddlType(const QString& name, bool& counter);

private:
    struct Scope {
        std::vector<const Source*> sources;
        const Scope* parent = nullptr;
    };
    [[noreturn]] void fail(int pos, const QString& what) const;
    void bindSelect(Select& s, const Scope* parent);
    void bindFrom(FromItem& item, Scope& scope, const Scope* outer);
    void bindExpr(Expr& e, const Scope& scope);
    void bindColumn(Expr& e, const Scope& scope);
    void bindFunction(Expr& e);
    void bindSubselect(Select& s, const Scope& scope, int pos, bool scalar);
    void bindTarget(Statement& st, Source& source);
    QString uniqueAlias(const QString& base);

    Catalog& catalog_;
    QString sql_;
    QSet<QString> aliases_;           // lower-case aliases used in the emitted statement
    const Select* orderOf_ = nullptr; // while binding ORDER BY: its select, whose aliases may be named
};

// The type of a numeric operation on two operands (Long unless one is a Double or unknown).
JetType numericType(JetType a, JetType b);

} // namespace jet
