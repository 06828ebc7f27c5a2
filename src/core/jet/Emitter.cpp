#include "core/jet/Emitter.h"

#include "core/Vb.h"
#include "core/jet/Functions.h"
#include "core/jet/Lexer.h"
#include "core/jet/SqlFunctions.h"
#include "core/jet/ValueText.h"

#include <algorithm>

namespace jet {

namespace {

const QString kCollate = QStringLiteral(" COLLATE PINYIN");

QString opText(Op op) {
    switch (op) {
    case Op::Eq:
        return QStringLiteral("=");
    case Op::Ne:
        return QStringLiteral("<>");
    case Op::Lt:
        return QStringLiteral("<");
    case Op::Le:
        return QStringLiteral("<=");
    case Op::Gt:
        return QStringLiteral(">");
    case Op::Ge:
        return QStringLiteral(">=");
    case Op::Add:
        return QStringLiteral("+");
    case Op::Sub:
        return QStringLiteral("-");
    case Op::Mul:
        return QStringLiteral("*");
    default:
        return {};
    }
}

bool isComparison(Op op) {
    return op == Op::Eq || op == Op::Ne || op == Op::Lt || op == Op::Le || op == Op::Gt || op == Op::Ge;
}

bool isNumeric(JetType t) {
    return t == JetType::Long || t == JetType::Integer || t == JetType::Double || t == JetType::Boolean;
}

// A value already in the form a column of the target type stores.
QString storedSql(const QString& v, JetType from, JetType target) {
    switch (target) {
    case JetType::Date:
        return from == JetType::Date ? v : sqlCall(jetIsoDate, {v});
    case JetType::Boolean:
        return from == JetType::Boolean ? v : sqlCall(jetBool, {v});
    case JetType::Text:
        switch (from) {
        case JetType::Text:
            return v;
        case JetType::Date:
            return sqlCall(jetDateText, {v});
        case JetType::Boolean:
            return sqlCall(jetBoolText, {v});
        default:
            return sqlCall(jetStr, {v});
        }
    case JetType::Long:
    case JetType::Integer:
        return from == JetType::Long || from == JetType::Integer || from == JetType::Boolean
                   ? v
                   : sqlCall(jetClng, {v});
    case JetType::Double:
        return isNumeric(from) ? v : sqlCall(jetCdbl, {v});
    case JetType::Unknown:
        break;
    }
    return v;
}

} // namespace

QString Emitter::quoteId(const QString& name) {
    QString s = name;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString Emitter::quoteText(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    // SQLite reads a statement only up to a zero character: inside a text it is joined in.
    if (s.contains(QChar(0)))
        return QStringLiteral("('") + s.replace(QChar(0), QLatin1String("'||char(0)||'")) +
               QStringLiteral("')");
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

void Emitter::fail(int pos, const QString& what) const {
    failAt(sql_, pos, what);
}

QString Emitter::statement(const Statement& st) {
    switch (st.kind) {
    case Statement::Kind::Select:
        outermost_ = st.select.get();
        return select(*st.select);
    case Statement::Kind::Insert: {
        QStringList cols;
        for (const auto& c : st.targets)
            cols << quoteId(c.name);
        QString out = QStringLiteral("INSERT INTO ") + quoteId(st.target.table) + QStringLiteral(" (") +
                      cols.join(QStringLiteral(", ")) + QStringLiteral(") ");
        QStringList values;
        if (st.select) {
            // Each selected value is stored as its column's type stores it.
            const QString alias = QStringLiteral("jet_insert");
            for (size_t i = 0; i < st.targets.size(); ++i)
                values << storedSql(quoteId(alias) + QLatin1Char('.') + quoteId(st.select->result[i].name),
                                    st.select->result[i].type, st.targets[i].type);
            return out + QStringLiteral("SELECT ") + values.join(QStringLiteral(", ")) +
                   QStringLiteral(" FROM (") + select(*st.select) + QStringLiteral(") AS ") + quoteId(alias);
        }
        for (size_t i = 0; i < st.targets.size(); ++i)
            values << stored(*st.values[i], st.targets[i].type);
        return out + QStringLiteral("VALUES (") + values.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    case Statement::Kind::Update: {
        QStringList sets;
        for (size_t i = 0; i < st.targets.size(); ++i)
            sets << quoteId(st.targets[i].name) + QStringLiteral(" = ") +
                        stored(*st.values[i], st.targets[i].type);
        QString out = QStringLiteral("UPDATE ") + quoteId(st.target.table) + QStringLiteral(" SET ") +
                      sets.join(QStringLiteral(", "));
        if (st.where) out += QStringLiteral(" WHERE ") + truth(*st.where);
        return out;
    }
    case Statement::Kind::Delete: {
        QString out = QStringLiteral("DELETE FROM ") + quoteId(st.target.table);
        if (st.where) out += QStringLiteral(" WHERE ") + truth(*st.where);
        return out;
    }
    case Statement::Kind::CreateTable: {
        QStringList defs;
        for (const ColumnDef& d : st.defs) {
            QString def = quoteId(d.name) + QLatin1Char(' ') + QLatin1String(declaredType(d.type));
            if (d.counter)
                def += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
            else if (d.primaryKey)
                def += QStringLiteral(" PRIMARY KEY");
            if (d.notNull) def += QStringLiteral(" NOT NULL");
            defs << def;
        }
        return QStringLiteral("CREATE TABLE ") + quoteId(st.table) + QStringLiteral(" (") +
               defs.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    case Statement::Kind::DropTable:
        return QStringLiteral("DROP TABLE ") + quoteId(st.table);
    }
    return {};
}

QString Emitter::from(const FromItem& f) {
    switch (f.kind) {
    case FromItem::Kind::Table:
        return f.source.sqlAlias == f.source.table
                   ? quoteId(f.source.table)
                   : quoteId(f.source.table) + QStringLiteral(" AS ") + quoteId(f.source.sqlAlias);
    case FromItem::Kind::Derived:
        return QLatin1Char('(') + select(*f.sub) + QStringLiteral(") AS ") + quoteId(f.source.sqlAlias);
    case FromItem::Kind::Join: {
        const QString kind = f.join == JoinKind::Left    ? QStringLiteral(" LEFT JOIN ")
                             : f.join == JoinKind::Right ? QStringLiteral(" RIGHT JOIN ")
                                                         : QStringLiteral(" INNER JOIN ");
        QString right = from(*f.right);
        if (f.right->kind == FromItem::Kind::Join) right = QLatin1Char('(') + right + QLatin1Char(')');
        return from(*f.left) + kind + right + QStringLiteral(" ON ") + truth(*f.on);
    }
    }
    return {};
}

QString Emitter::orderKey(const Expr& e) {
    // Text sorts as people read it: without regard to case, Chinese by pinyin.
    return e.type == JetType::Text ? value(e) + kCollate : value(e);
}

namespace {

bool hasAggregate(const Expr& e) {
    if (e.aggregate) return true;
    return std::any_of(e.args.begin(), e.args.end(), [](const ExprPtr& a) { return hasAggregate(*a); });
}

} // namespace

QString Emitter::select(const Select& s, bool named) {
    QString out = QStringLiteral("SELECT ");
    // One row is always distinct; the temporary table DISTINCT needs would be built per row of
    // a correlated sub-select ("select DISTINCT top 1 RQ ...").
    if (s.distinct && !(s.top && *s.top <= 1)) out += QStringLiteral("DISTINCT ");
    QStringList items;
    for (const SelectItem& item : s.items)
        items << (named ? value(*item.expr) + QStringLiteral(" AS ") + quoteId(item.name)
                        : value(*item.expr));
    out += items.join(QStringLiteral(", "));
    if (!s.from.empty()) {
        QStringList froms;
        for (const auto& f : s.from)
            froms << from(*f);
        out += QStringLiteral(" FROM ") + froms.join(QStringLiteral(", "));
    }
    if (s.where) out += QStringLiteral(" WHERE ") + truth(*s.where);
    QStringList groups;
    for (const auto& g : s.groupBy)
        groups << orderKey(*g);
    if (!groups.isEmpty()) out += QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", "));
    if (s.having) out += QStringLiteral(" HAVING ") + truth(*s.having);
    if (!s.orderBy.empty()) {
        QStringList keys;
        for (const OrderItem& o : s.orderBy)
            keys << orderKey(*o.expr) + (o.desc ? QStringLiteral(" DESC") : QString());
        out += QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
    } else if (!groups.isEmpty() && !s.unordered) {
        // Groups come back in the order of their keys.
        out += QStringLiteral(" ORDER BY ") + groups.join(QStringLiteral(", "));
    } else if ((s.top || &s == outermost_) && s.groupBy.empty() && !s.distinct && s.from.size() == 1 &&
               s.from[0]->kind == FromItem::Kind::Table &&
               std::none_of(s.items.begin(), s.items.end(),
                            [](const SelectItem& i) { return hasAggregate(*i.expr); })) {
        // Without an order Jet gives a table's rows in the order they were entered (and TOP keeps
        // the first of them); SQLite might read them through a name index instead.
        out += QStringLiteral(" ORDER BY ") + quoteId(s.from[0]->source.sqlAlias) + QStringLiteral(".rowid");
    }
    if (s.top) out += QStringLiteral(" LIMIT ") + QString::number(*s.top);
    return out;
}

QString Emitter::value(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Number:
        return e.text.startsWith(QLatin1Char('.')) ? QLatin1Char('0') + e.text : e.text;
    case ExprKind::String:
        return quoteText(e.text);
    case ExprKind::DateLit:
        return quoteText(e.text);
    case ExprKind::Null:
        return QStringLiteral("NULL");
    case ExprKind::Bool:
        return e.boolValue ? QStringLiteral("-1") : QStringLiteral("0");
    case ExprKind::Column:
        if (e.aliasRef) return quoteId(e.column);
        return quoteId(e.source->sqlAlias) + QLatin1Char('.') + quoteId(e.column);
    case ExprKind::Unary: {
        const Expr& a = *e.args[0];
        if (e.op == Op::Neg) return QStringLiteral("(- ") + value(a) + QLatin1Char(')');
        if (e.type == JetType::Boolean) // Not True is False and back; never a stored 1
            return QStringLiteral("(-(NOT ") + truth(a) + QStringLiteral("))");
        return QStringLiteral("(~") + value(a) + QLatin1Char(')'); // on numbers Jet's Not is bitwise
    }
    case ExprKind::Binary: {
        const Expr& a = *e.args[0];
        const Expr& b = *e.args[1];
        const JetType ta = a.type, tb = b.type;
        switch (e.op) {
        case Op::Add:
            if (e.type == JetType::Text)
                return QLatin1Char('(') + value(a) + QStringLiteral(" || ") + value(b) + QLatin1Char(')');
            if (e.type == JetType::Date)
                return ta == JetType::Date ? sqlCall(jetDateAdd, {value(a), value(b)})
                                           : sqlCall(jetDateAdd, {value(b), value(a)});
            break;
        case Op::Sub:
            if (ta == JetType::Date && tb == JetType::Date)
                return QStringLiteral("(julianday(") + value(a) + QStringLiteral(") - julianday(") +
                       value(b) + QStringLiteral("))");
            if (e.type == JetType::Date)
                return sqlCall(jetDateAdd, {value(a), QStringLiteral("-(") + value(b) + QLatin1Char(')')});
            break;
        case Op::Mul:
            break;
        case Op::Div:
            return sqlCall(jetDiv, {value(a), value(b)});
        case Op::IntDiv:
            return sqlCall(jetIntDiv, {value(a), value(b)});
        case Op::Mod:
            return sqlCall(jetMod, {value(a), value(b)});
        case Op::Pow:
            return sqlCall(jetPow, {value(a), value(b)});
        default:
            if (isComparison(e.op)) return QStringLiteral("(-") + comparison(a, e.op, b) + QLatin1Char(')');
            return QStringLiteral("(-") + truth(e) + QLatin1Char(')');
        }
        return QLatin1Char('(') + value(a) + QLatin1Char(' ') + opText(e.op) + QLatin1Char(' ') + value(b) +
               QLatin1Char(')');
    }
    case ExprKind::Chain:
        if (e.op == Op::Concat) {
            QStringList args;
            catArgs(e, args);
            return sqlCall(jetCat, args);
        }
        return QStringLiteral("(-") + truth(e) + QLatin1Char(')');
    case ExprKind::Function:
        return e.function->emit(Call(*this, e, *e.function));
    case ExprKind::Subquery:
        return QLatin1Char('(') + select(*e.sub) + QLatin1Char(')');
    case ExprKind::Exists:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Between:
    case ExprKind::IsNull:
    case ExprKind::Like:
    case ExprKind::AnyOf:
    case ExprKind::KeyIn:
        return QStringLiteral("(-") + truth(e) + QLatin1Char(')');
    case ExprKind::Contains:
        return QStringLiteral("(-(") + truth(e) + QStringLiteral("))");
    }
    return {};
}

QString Emitter::truth(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Binary:
        if (isComparison(e.op)) return comparison(*e.args[0], e.op, *e.args[1]);
        if (e.op == Op::Xor)
            return QStringLiteral("((") + truth(*e.args[0]) + QStringLiteral(") <> (") + truth(*e.args[1]) +
                   QStringLiteral("))");
        return value(e);
    case ExprKind::Chain: {
        if (e.op == Op::Concat) return value(e);
        QStringList parts;
        for (const auto& a : e.args)
            parts << truth(*a);
        return QLatin1Char('(') +
               parts.join(e.op == Op::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ")) +
               QLatin1Char(')');
    }
    case ExprKind::Unary:
        if (e.op == Op::Not && e.type == JetType::Boolean)
            return QStringLiteral("(NOT ") + truth(*e.args[0]) + QLatin1Char(')');
        return value(e);
    case ExprKind::Exists:
        return QStringLiteral("EXISTS (") + select(*e.sub) + QLatin1Char(')');
    case ExprKind::IsNull:
        return QLatin1Char('(') + value(*e.args[0]) +
               (e.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
    case ExprKind::Like:
        return QLatin1String(e.negated ? "(NOT " : "(") +
               sqlCall(jetLike, {text(*e.args[0]), text(*e.args[1])}) + QLatin1Char(')');
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Between: {
        const Expr& a = *e.args[0];
        bool date = a.type == JetType::Date;
        bool textual = a.type == JetType::Text;
        for (size_t i = 1; i < e.args.size(); ++i) {
            date = date || e.args[i]->type == JetType::Date;
            textual = textual || e.args[i]->type == JetType::Text;
        }
        if (e.kind == ExprKind::InSelect) {
            date = date || e.sub->result[0].type == JetType::Date;
            textual = textual || e.sub->result[0].type == JetType::Text;
        }
        auto operand = [&](const Expr& x) { return date ? asDate(x) : value(x); };
        QString left = operand(a);
        if (textual && !date) left += kCollate;
        const QString neg = e.negated ? QStringLiteral(" NOT") : QString();
        if (e.kind == ExprKind::Between)
            return QLatin1Char('(') + left + neg + QStringLiteral(" BETWEEN ") + operand(*e.args[1]) +
                   QStringLiteral(" AND ") + operand(*e.args[2]) + QLatin1Char(')');
        if (e.kind == ExprKind::InSelect)
            return QLatin1Char('(') + left + neg + QStringLiteral(" IN (") + select(*e.sub) +
                   QStringLiteral("))");
        QStringList list;
        for (size_t i = 1; i < e.args.size(); ++i)
            list << operand(*e.args[i]);
        return QLatin1Char('(') + left + neg + QStringLiteral(" IN (") + list.join(QStringLiteral(", ")) +
               QStringLiteral("))");
    }
    case ExprKind::Function:
        if (e.function->condition) return e.function->condition(Call(*this, e, *e.function));
        return value(e);
    case ExprKind::AnyOf: {
        if (e.args.empty()) return QStringLiteral("0");
        QStringList parts;
        for (const auto& a : e.args)
            parts << truth(*a);
        return QStringLiteral("coalesce((") + parts.join(QStringLiteral(" OR ")) + QStringLiteral("), 0)");
    }
    case ExprKind::Contains:
        return sqlCall(jetInstr, {catArg(*e.args[0]), catArg(*e.args[1])}) + QStringLiteral(" > 0");
    case ExprKind::KeyIn:
        return QStringLiteral("coalesce(") + value(*e.args[0]) + QStringLiteral(" IN (") +
               select(*e.sub, false) + QStringLiteral("), 0)");
    default:
        return value(e);
    }
}

QString Emitter::comparison(const Expr& a, Op op, const Expr& b) {
    const QString o = QLatin1Char(' ') + opText(op) + QLatin1Char(' ');
    if (a.type == JetType::Date || b.type == JetType::Date) // ISO text compares as dates do
        return QLatin1Char('(') + asDate(a) + o + asDate(b) + QLatin1Char(')');
    // A Boolean against True or False: any non-zero value is True.
    const Expr* lit = b.kind == ExprKind::Bool ? &b : a.kind == ExprKind::Bool ? &a : nullptr;
    const Expr* other = lit == &b ? &a : &b;
    if (lit && other->type == JetType::Boolean && (op == Op::Eq || op == Op::Ne)) {
        const bool wantTrue = lit->boolValue == (op == Op::Eq);
        return QLatin1Char('(') + value(*other) +
               (wantTrue ? QStringLiteral(" <> 0)") : QStringLiteral(" = 0)"));
    }
    if (a.type == JetType::Text || b.type == JetType::Text)
        return QLatin1Char('(') + value(a) + o + value(b) + kCollate + QLatin1Char(')');
    return QLatin1Char('(') + value(a) + o + value(b) + QLatin1Char(')');
}

QString Emitter::asDate(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Null:
        return QStringLiteral("NULL");
    case ExprKind::String: {
        const QDateTime dt = parseDateText(e.text);
        if (!dt.isValid()) fail(e.pos, QStringLiteral("不是有效的日期：'%1'").arg(e.text));
        return quoteText(isoText(dt));
    }
    default:
        return storedSql(value(e), e.type, JetType::Date);
    }
}

QString Emitter::stored(const Expr& e, JetType target) {
    if (e.kind == ExprKind::Null) return QStringLiteral("NULL");
    switch (target) {
    case JetType::Date:
        return asDate(e);
    case JetType::Boolean:
        if (e.kind == ExprKind::Number)
            return e.text.toDouble() != 0.0 ? QStringLiteral("-1") : QStringLiteral("0");
        break;
    case JetType::Text:
        return text(e);
    default:
        break;
    }
    return storedSql(value(e), e.type, target);
}

QString Emitter::text(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Null:
        return QStringLiteral("NULL");
    case ExprKind::DateLit:
        return quoteText(vb::DateTimeText(parseDateText(e.text)));
    case ExprKind::Bool:
        return quoteText(e.boolValue ? QStringLiteral("True") : QStringLiteral("False"));
    default:
        return storedSql(value(e), e.type, JetType::Text);
    }
}

QString Emitter::catArg(const Expr& e) {
    // jet_cat and jet_instr give numbers their CStr text and pass text through.
    if (e.type == JetType::Date || e.type == JetType::Boolean || e.kind == ExprKind::DateLit ||
        e.kind == ExprKind::Bool)
        return text(e);
    return value(e);
}

void Emitter::catArgs(const Expr& e, QStringList& out) {
    if (e.kind == ExprKind::Chain && e.op == Op::Concat) {
        for (const auto& a : e.args)
            catArgs(*a, out);
        return;
    }
    out << catArg(e);
}

} // namespace jet
