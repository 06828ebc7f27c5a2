#include "core/jet/Emitter.h"

#include "core/Vb.h"
#include "core/jet/Lexer.h"
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
        return from == JetType::Date ? v : QStringLiteral("jet_isodate(") + v + QLatin1Char(')');
    case JetType::Boolean:
        return from == JetType::Boolean ? v : QStringLiteral("jet_bool(") + v + QLatin1Char(')');
    case JetType::Text:
        switch (from) {
        case JetType::Text:
            return v;
        case JetType::Date:
            return QStringLiteral("jet_datetext(") + v + QLatin1Char(')');
        case JetType::Boolean:
            return QStringLiteral("jet_booltext(") + v + QLatin1Char(')');
        default:
            return QStringLiteral("jet_str(") + v + QLatin1Char(')');
        }
    case JetType::Long:
    case JetType::Integer:
        return from == JetType::Long || from == JetType::Integer || from == JetType::Boolean
                   ? v
                   : QStringLiteral("jet_clng(") + v + QLatin1Char(')');
    case JetType::Double:
        return isNumeric(from) ? v : QStringLiteral("jet_cdbl(") + v + QLatin1Char(')');
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

QStringList Emitter::movedOrder(const Select& outer) {
    // "select * from (... order by RQ desc) where ...": the rows must keep the inner order.
    // Stated on the outer select, SQLite can still flatten the derived table.
    if (!outer.orderBy.empty() || !outer.groupBy.empty() || outer.distinct || outer.having ||
        outer.from.size() != 1 || outer.from[0]->kind != FromItem::Kind::Derived)
        return {};
    for (const SelectItem& item : outer.items)
        if (hasAggregate(*item.expr)) return {};
    const FromItem& derived = *outer.from[0];
    const Select& inner = *derived.sub;
    if (inner.orderBy.empty() || inner.top) return {};
    QStringList keys;
    for (const OrderItem& o : inner.orderBy) {
        const Expr& k = *o.expr;
        if (k.kind != ExprKind::Column) return {};
        QString name;
        if (k.aliasRef) {
            name = k.column;
        } else {
            for (const SelectItem& item : inner.items) {
                const Expr& x = *item.expr;
                if (x.kind == ExprKind::Column && !x.aliasRef && x.source == k.source &&
                    x.column.compare(k.column, Qt::CaseInsensitive) == 0) {
                    name = item.name;
                    break;
                }
            }
        }
        if (name.isEmpty()) return {};
        QString key = quoteId(derived.source.sqlAlias) + QLatin1Char('.') + quoteId(name);
        if (k.type == JetType::Text) key += kCollate;
        keys << key + (o.desc ? QStringLiteral(" DESC") : QString());
    }
    return keys;
}

QString Emitter::select(const Select& s) {
    const QStringList moved = movedOrder(s);
    const Select* savedDrop = dropOrder_;
    if (!moved.isEmpty()) dropOrder_ = s.from[0]->sub.get();
    const bool ownOrder = dropOrder_ != &s;
    open_.push_back(&s);
    QString out = QStringLiteral("SELECT ");
    // One row is always distinct; the temporary table DISTINCT needs would be built per row of
    // a correlated sub-select ("select DISTINCT top 1 RQ ...").
    if (s.distinct && !(s.top && *s.top <= 1)) out += QStringLiteral("DISTINCT ");
    QStringList items;
    for (const SelectItem& item : s.items)
        items << value(*item.expr) + QStringLiteral(" AS ") + quoteId(item.name);
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
    if (!moved.isEmpty()) {
        out += QStringLiteral(" ORDER BY ") + moved.join(QStringLiteral(", "));
    } else if (!s.orderBy.empty() && ownOrder) {
        QStringList keys;
        for (const OrderItem& o : s.orderBy)
            keys << orderKey(*o.expr) + (o.desc ? QStringLiteral(" DESC") : QString());
        out += QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
    } else if (!groups.isEmpty() && s.orderBy.empty()) {
        // Groups come back in the order of their keys.
        out += QStringLiteral(" ORDER BY ") + groups.join(QStringLiteral(", "));
    } else if ((s.top || &s == outermost_) && s.orderBy.empty() && s.groupBy.empty() && !s.distinct &&
               s.from.size() == 1 && s.from[0]->kind == FromItem::Kind::Table &&
               std::none_of(s.items.begin(), s.items.end(),
                            [](const SelectItem& i) { return hasAggregate(*i.expr); })) {
        // Without an order Jet gives a table's rows in the order they were entered (and TOP keeps
        // the first of them); SQLite might read them through a name index instead.
        out += QStringLiteral(" ORDER BY ") + quoteId(s.from[0]->source.sqlAlias) + QStringLiteral(".rowid");
    }
    if (s.top) out += QStringLiteral(" LIMIT ") + QString::number(*s.top);
    open_.pop_back();
    dropOrder_ = savedDrop;
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
                return ta == JetType::Date ? QStringLiteral("jet_dateadd(") + value(a) +
                                                 QStringLiteral(", ") + value(b) + QLatin1Char(')')
                                           : QStringLiteral("jet_dateadd(") + value(b) +
                                                 QStringLiteral(", ") + value(a) + QLatin1Char(')');
            break;
        case Op::Sub:
            if (ta == JetType::Date && tb == JetType::Date)
                return QStringLiteral("(julianday(") + value(a) + QStringLiteral(") - julianday(") +
                       value(b) + QStringLiteral("))");
            if (e.type == JetType::Date)
                return QStringLiteral("jet_dateadd(") + value(a) + QStringLiteral(", -(") + value(b) +
                       QStringLiteral("))");
            break;
        case Op::Mul:
            break;
        case Op::Div:
            return QStringLiteral("jet_div(") + value(a) + QStringLiteral(", ") + value(b) + QLatin1Char(')');
        case Op::IntDiv:
            return QStringLiteral("jet_intdiv(") + value(a) + QStringLiteral(", ") + value(b) +
                   QLatin1Char(')');
        case Op::Mod:
            return QStringLiteral("jet_mod(") + value(a) + QStringLiteral(", ") + value(b) + QLatin1Char(')');
        case Op::Pow:
            return QStringLiteral("jet_pow(") + value(a) + QStringLiteral(", ") + value(b) + QLatin1Char(')');
        default:
            if (isComparison(e.op))
                return QStringLiteral("(-") + comparison(a, e.op, b, false) + QLatin1Char(')');
            return QStringLiteral("(-") + truth(e) + QLatin1Char(')');
        }
        return QLatin1Char('(') + value(a) + QLatin1Char(' ') + opText(e.op) + QLatin1Char(' ') + value(b) +
               QLatin1Char(')');
    }
    case ExprKind::Chain:
        if (e.op == Op::Concat) {
            QStringList args;
            catArgs(e, args);
            return QStringLiteral("jet_cat(") + args.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        return QStringLiteral("(-") + truth(e) + QLatin1Char(')');
    case ExprKind::Function:
        return function(e);
    case ExprKind::Subquery:
        return QLatin1Char('(') + select(*e.sub) + QLatin1Char(')');
    case ExprKind::Exists:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Between:
    case ExprKind::IsNull:
    case ExprKind::Like:
        return QStringLiteral("(-") + truth(e) + QLatin1Char(')');
    }
    return {};
}

QString Emitter::truth(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Binary:
        if (isComparison(e.op)) return comparison(*e.args[0], e.op, *e.args[1], true);
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
        return QLatin1String(e.negated ? "(NOT jet_like(" : "(jet_like(") + text(*e.args[0]) +
               QStringLiteral(", ") + text(*e.args[1]) + QStringLiteral("))");
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
        if (e.text.compare(QLatin1String("isnull"), Qt::CaseInsensitive) == 0)
            return QLatin1Char('(') + value(*e.args[0]) + QStringLiteral(" IS NULL)");
        return value(e);
    default:
        return value(e);
    }
}

namespace {

// abs(x) of a number, the x.
const Expr* absOperand(const Expr& e) {
    if (e.kind != ExprKind::Function || e.args.size() != 1 ||
        e.text.compare(QLatin1String("abs"), Qt::CaseInsensitive))
        return nullptr;
    const JetType t = e.args[0]->type;
    return t == JetType::Long || t == JetType::Integer || t == JetType::Double ? e.args[0].get() : nullptr;
}

} // namespace

namespace {

bool isZero(const Expr& e) {
    return e.kind == ExprKind::Number && e.text.toDouble() == 0.0;
}

// The InStr(chain, 'k') of "InStr(chain, 'k') > 0" (or 0 < ..., or <> 0) with a & chain and a
// non-empty text to look for.
const Expr* searchInChain(const Expr& a, Op op, const Expr& b) {
    const Expr* call = nullptr;
    if ((op == Op::Gt || op == Op::Ne) && isZero(b))
        call = &a;
    else if ((op == Op::Lt || op == Op::Ne) && isZero(a))
        call = &b;
    if (!call || call->kind != ExprKind::Function || call->args.size() != 2 ||
        call->text.compare(QLatin1String("instr"), Qt::CaseInsensitive) != 0)
        return nullptr;
    const Expr& chain = *call->args[0];
    const Expr& k = *call->args[1];
    if (chain.kind != ExprKind::Chain || chain.op != Op::Concat || k.kind != ExprKind::String ||
        k.text.isEmpty())
        return nullptr;
    return call;
}

void flattenConcat(const Expr& e, std::vector<const Expr*>& out) {
    if (e.kind == ExprKind::Chain && e.op == Op::Concat) {
        for (const auto& a : e.args)
            flattenConcat(*a, out);
        return;
    }
    out.push_back(&e);
}

// The characters of a text with letter case folded the way jet_instr compares.
QList<uint> foldedChars(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string folded;
    foldCase(utf8.constData(), int(utf8.size()), folded);
    QList<uint> chars = QString::fromUtf8(folded.data(), qsizetype(folded.size())).toUcs4();
    std::sort(chars.begin(), chars.end());
    chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
    return chars;
}

bool sharesAChar(const QList<uint>& sorted, const QList<uint>& other) {
    return std::any_of(other.begin(), other.end(),
                       [&](uint c) { return std::binary_search(sorted.begin(), sorted.end(), c); });
}

// Every character a value of the type can show as text: CStr of a number ("-1.5", "1E+15",
// "Inf", "NaN"), a date as DateTimeText ("2019-1-9 8:05:03"), a Boolean "True" / "False".
// Empty for a type whose text can hold anything.
QString shownCharacters(JetType type) {
    switch (type) {
    case JetType::Long:
    case JetType::Integer:
    case JetType::Double:
        return QStringLiteral("0123456789-+.EInfNa");
    case JetType::Date:
        return QStringLiteral("0123456789- :");
    case JetType::Boolean:
        return QStringLiteral("TrueFals");
    default:
        return {};
    }
}

} // namespace

QString Emitter::searchEachPart(const Expr& call) {
    // A keyword found in the joined text lies within one part when it holds no character of
    // the texts that join the parts. Each part is then searched on its own (a number or date
    // only when its text could hold the keyword), and the search stops at the first part that
    // holds it instead of building the whole text of every row.
    const QString& k = call.args[1]->text;
    const QList<uint> needle = foldedChars(k);
    std::vector<const Expr*> items;
    flattenConcat(*call.args[0], items);
    bool open = false; // the last part has no joining text after it yet
    std::vector<const Expr*> parts;
    for (const Expr* item : items) {
        if (item->kind == ExprKind::String) {
            if (item->text.isEmpty()) continue;
            if (sharesAChar(needle, foldedChars(item->text))) return {};
            open = false;
            continue;
        }
        if (open) return {};
        open = true;
        parts.push_back(item);
    }
    QStringList searches;
    const QString quoted = quoteText(k);
    for (const Expr* part : parts) {
        const QString shown = shownCharacters(part->type);
        if (!shown.isEmpty()) {
            const QList<uint> possible = foldedChars(shown);
            if (!std::all_of(needle.begin(), needle.end(),
                             [&](uint c) { return std::binary_search(possible.begin(), possible.end(), c); }))
                continue;
        }
        const QString lookedUp = searchLookedUp(*part, quoted);
        searches << (!lookedUp.isEmpty() ? lookedUp
                                         : QStringLiteral("jet_instr(") + catArg(*part) +
                                               QStringLiteral(", ") + quoted + QStringLiteral(") > 0"));
    }
    if (searches.isEmpty()) return QStringLiteral("0");
    // A Null part is no match (& joins it as no text), so the whole is never Null.
    return QStringLiteral("coalesce((") + searches.join(QStringLiteral(" OR ")) + QStringLiteral("), 0)");
}

namespace {

const FromItem* derivedTable(const FromItem& f, const Source* source) {
    if (f.kind == FromItem::Kind::Join) {
        const FromItem* left = derivedTable(*f.left, source);
        return left ? left : derivedTable(*f.right, source);
    }
    return f.kind == FromItem::Kind::Derived && &f.source == source ? &f : nullptr;
}

bool isColumnOf(const Expr& e, const Source* source) {
    return e.kind == ExprKind::Column && !e.aliasRef && e.source == source;
}

// An expression of the columns of one table only, without sub-selects or sums.
bool readsOnly(const Expr& e, const Source* source) {
    if (e.kind == ExprKind::Column) return isColumnOf(e, source);
    if (e.sub || e.aggregate) return false;
    return std::all_of(e.args.begin(), e.args.end(), [&](const ExprPtr& a) { return readsOnly(*a, source); });
}

// The one item of the select with that name; null when there is none or more.
const SelectItem* namedItem(const Select& s, const QString& name) {
    const SelectItem* found = nullptr;
    for (const SelectItem& item : s.items)
        if (item.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (found) return nullptr;
            found = &item;
        }
    return found;
}

} // namespace

QString Emitter::searchLookedUp(const Expr& part, const QString& quoted) {
    // q.SPMC where q defines SPMC as (select x from T where T.ID = c) and also shows c: T's
    // key finds one row at most, so the row holds the keyword when c is the key of a row of T
    // whose x holds it. That set of keys is made once instead of looking x up for every row.
    if (!part.source || part.kind != ExprKind::Column || part.aliasRef) return {};
    const FromItem* derived = nullptr;
    for (auto s = open_.rbegin(); s != open_.rend() && !derived; ++s)
        for (const auto& f : (*s)->from)
            if ((derived = derivedTable(*f, part.source))) break;
    if (!derived) return {};
    const Select& d = *derived->sub;
    if (d.from.size() != 1 || d.from[0]->kind != FromItem::Kind::Table || !d.groupBy.empty() || d.having ||
        std::any_of(d.items.begin(), d.items.end(),
                    [](const SelectItem& i) { return hasAggregate(*i.expr); }))
        return {};
    const Source* rows = &d.from[0]->source;
    const SelectItem* defined = namedItem(d, part.column);
    if (!defined || defined->expr->kind != ExprKind::Subquery) return {};
    const Select& sub = *defined->expr->sub;
    if (sub.distinct || sub.top || sub.from.size() != 1 || sub.from[0]->kind != FromItem::Kind::Table ||
        !sub.groupBy.empty() || sub.having || !sub.orderBy.empty() || sub.items.size() != 1 || !sub.where)
        return {};
    const Source* looked = &sub.from[0]->source;
    const Expr& w = *sub.where;
    if (looked->rowidKey.isEmpty() || w.kind != ExprKind::Binary || w.op != Op::Eq) return {};
    const Expr* key = nullptr;
    const Expr* c = nullptr;
    for (int i = 0; i < 2 && !c; ++i) {
        const Expr& k = *w.args[i];
        const Expr& other = *w.args[1 - i];
        if (isColumnOf(k, looked) && k.column.compare(looked->rowidKey, Qt::CaseInsensitive) == 0 &&
            isColumnOf(other, rows) && (other.type == JetType::Long || other.type == JetType::Integer)) {
            key = &k;
            c = &other;
        }
    }
    const Expr& x = *sub.items[0].expr;
    if (!c || !readsOnly(x, looked)) return {};
    // c as q shows it, unchanged and under one name.
    const SelectItem* shown = nullptr;
    for (const SelectItem& item : d.items)
        if (isColumnOf(*item.expr, rows) && item.expr->column.compare(c->column, Qt::CaseInsensitive) == 0) {
            shown = &item;
            break;
        }
    if (!shown || namedItem(d, shown->name) != shown) return {};
    // The text jet_instr sees of q.SPMC itself (see catArg).
    QString searched = value(x);
    if (part.type == JetType::Date || part.type == JetType::Boolean)
        searched = storedSql(searched, part.type, JetType::Text);
    return QStringLiteral("coalesce(") + quoteId(part.source->sqlAlias) + QLatin1Char('.') +
           quoteId(shown->name) + QStringLiteral(" IN (SELECT ") + value(*key) + QStringLiteral(" FROM ") +
           from(*sub.from[0]) + QStringLiteral(" WHERE jet_instr(") + searched + QStringLiteral(", ") +
           quoted + QStringLiteral(") > 0), 0)");
}

QString Emitter::comparison(const Expr& a, Op op, const Expr& b, bool condition) {
    const QString o = QLatin1Char(' ') + opText(op) + QLatin1Char(' ');
    if (const Expr* call = searchInChain(a, op, b)) {
        const QString split = searchEachPart(*call);
        if (!split.isEmpty()) return split;
    }
    // A goods item's movements are found by abs(TZID)=ID. As a condition, x IN (y, -y) means
    // the same and can use the index on TZID instead of reading every movement.
    if (condition && op == Op::Eq && (absOperand(a) || absOperand(b))) {
        const Expr& x = absOperand(a) ? *absOperand(a) : *absOperand(b);
        const Expr& y = absOperand(a) ? b : a;
        if (isNumeric(y.type) && y.type != JetType::Boolean) {
            const QString vy = value(y);
            if (y.kind == ExprKind::Number)
                return QLatin1Char('(') + value(x) + QStringLiteral(" IN (") + vy + QStringLiteral(", -") +
                       vy + QStringLiteral("))");
            return QStringLiteral("((") + value(x) + QStringLiteral(" IN (") + vy + QStringLiteral(", (- ") +
                   vy + QStringLiteral("))) AND ") + vy + QStringLiteral(" >= 0)");
        }
    }
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

QString Emitter::function(const Expr& e) {
    const QString name = e.text.toLower();
    auto v = [&](int i) { return value(*e.args[i]); };
    auto call = [](const char* fn, const QStringList& args) -> QString {
        return QLatin1String(fn) + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
    };
    if (name == "iif")
        return QStringLiteral("(CASE WHEN ") + truth(*e.args[0]) + QStringLiteral(" THEN ") + v(1) +
               QStringLiteral(" ELSE ") + v(2) + QStringLiteral(" END)");
    if (name == "instr") {
        if (e.args.size() == 2) return call("jet_instr", {catArg(*e.args[0]), catArg(*e.args[1])});
        QStringList args{v(0), catArg(*e.args[1]), catArg(*e.args[2])};
        if (e.args.size() == 4) args << v(3);
        return call("jet_instr", args);
    }
    if (name == "format") {
        if (e.args.size() == 1) return text(*e.args[0]);
        const Expr& x = *e.args[0];
        return call("jet_format", {x.type == JetType::Boolean ? text(x) : v(0), text(*e.args[1])});
    }
    if (name == "round") return call("jet_round", {v(0), e.args.size() > 1 ? v(1) : QStringLiteral("0")});
    if (name == "abs") return call("abs", {v(0)});
    if (name == "count") return e.star ? QStringLiteral("count(*)") : call("count", {v(0)});
    if (name == "sum" || name == "avg") return name + QLatin1Char('(') + v(0) + QLatin1Char(')');
    if (name == "min" || name == "max")
        return name + QLatin1Char('(') + orderKey(*e.args[0]) + QLatin1Char(')');
    if (name == "now") return QStringLiteral("datetime('now', 'localtime')");
    if (name == "date") return QStringLiteral("date('now', 'localtime')");
    if (name == "year" || name == "month" || name == "day" || name == "hour" || name == "minute" ||
        name == "second") {
        const int at = name == "year"     ? 1
                       : name == "month"  ? 6
                       : name == "day"    ? 9
                       : name == "hour"   ? 12
                       : name == "minute" ? 15
                                          : 18;
        return QStringLiteral("CAST(substr(") + asDate(*e.args[0]) +
               QStringLiteral(", %1, %2) AS INTEGER)").arg(at).arg(name == "year" ? 4 : 2);
    }
    if (name == "len") return call("length", {text(*e.args[0])});
    if (name == "left") return call("substr", {text(*e.args[0]), QStringLiteral("1"), v(1)});
    if (name == "right") return call("jet_right", {text(*e.args[0]), v(1)});
    if (name == "mid") {
        QStringList args{text(*e.args[0]), v(1)};
        if (e.args.size() == 3) args << v(2);
        return call("substr", args);
    }
    if (name == "trim" || name == "ltrim" || name == "rtrim")
        return name + QLatin1Char('(') + text(*e.args[0]) + QStringLiteral(", ' ')");
    if (name == "ucase") return call("upper", {text(*e.args[0])});
    if (name == "lcase") return call("lower", {text(*e.args[0])});
    if (name == "nz") {
        const QString fallback = e.args.size() > 1                  ? v(1)
                                 : e.args[0]->type == JetType::Text ? QStringLiteral("''")
                                                                    : QStringLiteral("0");
        return call("ifnull", {v(0), fallback});
    }
    if (name == "isnull") return QStringLiteral("(-(") + v(0) + QStringLiteral(" IS NULL))");
    if (name == "val") return call("jet_val", {text(*e.args[0])});
    if (name == "cstr") return text(*e.args[0]);
    if (name == "clng" || name == "cint") return call("jet_clng", {v(0)});
    if (name == "cdbl" || name == "csng" || name == "ccur") return call("jet_cdbl", {v(0)});
    if (name == "cdate" || name == "datevalue") return asDate(*e.args[0]);
    if (name == "cbool") return e.args[0]->type == JetType::Boolean ? v(0) : call("jet_bool", {v(0)});
    if (name == "int") return call("jet_int", {v(0)});
    if (name == "fix") return call("jet_fix", {v(0)});
    fail(e.pos, QStringLiteral("不认识的函数 %1").arg(e.text));
}

} // namespace jet
