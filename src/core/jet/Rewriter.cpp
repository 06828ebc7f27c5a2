#include "core/jet/Rewriter.h"

#include "core/jet/ValueText.h"

#include <QList>
#include <algorithm>

namespace jet {

namespace {

bool isCall(const Expr& e, const char* name) {
    return e.kind == ExprKind::Function && e.text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool isComparison(Op op) {
    return op == Op::Eq || op == Op::Ne || op == Op::Lt || op == Op::Le || op == Op::Gt || op == Op::Ge;
}

bool hasAggregate(const Expr& e) {
    if (e.aggregate) return true;
    return std::any_of(e.args.begin(), e.args.end(), [](const ExprPtr& a) { return hasAggregate(*a); });
}

bool hasSubselect(const Expr& e) {
    if (e.sub) return true;
    return std::any_of(e.args.begin(), e.args.end(), [](const ExprPtr& a) { return hasSubselect(*a); });
}

// A new node of the given arguments, typed as the binder would type it.
template <typename... Args> ExprPtr node(ExprKind kind, Op op, JetType type, int pos, Args... args) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->op = op;
    e->type = type;
    e->pos = pos;
    (e->args.push_back(std::move(args)), ...);
    return e;
}

ExprPtr literal(ExprKind kind, JetType type, const QString& text, int pos) {
    auto e = node(kind, Op::None, type, pos);
    e->text = text;
    return e;
}

ExprPtr columnOf(const Source* source, const QString& column, JetType type, int pos) {
    auto e = literal(ExprKind::Column, type, column, pos);
    e->source = source;
    e->column = column;
    return e;
}

// A copy of an expression without sub-selects; columns of `from` become columns of `to`.
ExprPtr copy(const Expr& e, const Source* from = nullptr, const Source* to = nullptr) {
    auto c = node(e.kind, e.op, e.type, e.pos);
    c->depth = e.depth;
    c->text = e.text;
    c->qualifier = e.qualifier;
    c->boolValue = e.boolValue;
    c->negated = e.negated;
    c->star = e.star;
    c->source = e.source == from ? to : e.source;
    c->column = e.column;
    c->aliasRef = e.aliasRef;
    c->aggregate = e.aggregate;
    c->function = e.function;
    for (const auto& a : e.args)
        c->args.push_back(copy(*a, from, to));
    return c;
}

// ---- abs(x) = y --------------------------------------------------------------------------

// abs(x) of a number, the x.
ExprPtr* absOperand(Expr& e) {
    if (!isCall(e, "abs") || e.args.size() != 1) return nullptr;
    const JetType t = e.args[0]->type;
    return t == JetType::Long || t == JetType::Integer || t == JetType::Double ? &e.args[0] : nullptr;
}

// A goods item's movements are found by abs(TZID)=ID. Where a false and a Null condition
// mean the same, x IN (y, -y) does too, and it can use the index on TZID instead of reading
// every movement. (Under Not they differ: abs(Null) = -1 is Null, the IN form false.)
ExprPtr signedIn(Expr& eq) {
    const int side = absOperand(*eq.args[0]) ? 0 : absOperand(*eq.args[1]) ? 1 : -1;
    if (side < 0) return nullptr;
    const Expr& y = *eq.args[1 - side];
    if ((y.type != JetType::Long && y.type != JetType::Integer && y.type != JetType::Double) ||
        hasSubselect(y))
        return nullptr;
    ExprPtr x = std::move(*absOperand(*eq.args[side]));
    const JetType b = JetType::Boolean;
    if (y.kind == ExprKind::Number) { // never negative: the parser reads a sign as an operator
        const QString v = y.text.startsWith(QLatin1Char('.')) ? QLatin1Char('0') + y.text : y.text;
        return node(ExprKind::InList, Op::None, b, eq.pos, std::move(x), copy(y),
                    literal(ExprKind::Number, y.type, QLatin1Char('-') + v, y.pos));
    }
    auto in = node(ExprKind::InList, Op::None, b, eq.pos, std::move(x), copy(y),
                   node(ExprKind::Unary, Op::Neg, y.type, y.pos, copy(y)));
    auto notNegative = node(ExprKind::Binary, Op::Ge, b, eq.pos, copy(y),
                            literal(ExprKind::Number, JetType::Long, QStringLiteral("0"), y.pos));
    return node(ExprKind::Chain, Op::And, b, eq.pos, std::move(in), std::move(notNegative));
}

// ---- InStr(a & ',' & b ..., 'k') > 0 ------------------------------------------------------

bool isZero(const Expr& e) {
    return e.kind == ExprKind::Number && e.text.toDouble() == 0.0;
}

// The InStr(chain, 'k') of "InStr(chain, 'k') > 0" (or 0 < ..., or <> 0) with a & chain and a
// non-empty text to look for.
Expr* searchInChain(Expr& cmp) {
    Expr* call = nullptr;
    if ((cmp.op == Op::Gt || cmp.op == Op::Ne) && isZero(*cmp.args[1]))
        call = cmp.args[0].get();
    else if ((cmp.op == Op::Lt || cmp.op == Op::Ne) && isZero(*cmp.args[0]))
        call = cmp.args[1].get();
    if (!call || !isCall(*call, "instr") || call->args.size() != 2) return nullptr;
    const Expr& chain = *call->args[0];
    const Expr& k = *call->args[1];
    if (chain.kind != ExprKind::Chain || chain.op != Op::Concat || k.kind != ExprKind::String ||
        k.text.isEmpty())
        return nullptr;
    return call;
}

void flattenConcat(ExprPtr& e, std::vector<ExprPtr*>& out) {
    if (e->kind == ExprKind::Chain && e->op == Op::Concat) {
        for (auto& a : e->args)
            flattenConcat(a, out);
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

bool holds(const QList<uint>& sorted, uint c) {
    return std::binary_search(sorted.begin(), sorted.end(), c);
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

// ---- looked-up names ---------------------------------------------------------------------

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

class Rewriter {
public:
    void statement(Statement& st) {
        if (st.select) select(*st.select);
        for (auto& v : st.values)
            expr(v, false);
        if (st.where) expr(st.where, true);
    }

private:
    void select(Select& s);
    void from(FromItem& f);
    // filter: the value decides only whether a row is taken, so false and Null mean the same.
    void expr(ExprPtr& e, bool filter);
    void moveOrder(Select& outer);
    ExprPtr searchEachPart(Expr& call);
    ExprPtr searchLookedUp(const Expr& part, const Expr& needle);

    std::vector<const Select*> open_; // the selects being rewritten, innermost last
};

void Rewriter::select(Select& s) {
    open_.push_back(&s);
    moveOrder(s);
    for (auto& item : s.items)
        expr(item.expr, false);
    if (s.where) expr(s.where, true);
    for (auto& g : s.groupBy)
        expr(g, false);
    if (s.having) expr(s.having, true);
    for (auto& o : s.orderBy)
        expr(o.expr, false);
    for (auto& f : s.from)
        from(*f);
    open_.pop_back();
}

void Rewriter::from(FromItem& f) {
    if (f.sub) select(*f.sub);
    if (f.left) from(*f.left);
    if (f.right) from(*f.right);
    if (f.on) expr(f.on, true);
}

void Rewriter::expr(ExprPtr& e, bool filter) {
    if (e->kind == ExprKind::Binary && isComparison(e->op)) {
        ExprPtr faster;
        if (Expr* call = searchInChain(*e)) faster = searchEachPart(*call);
        if (!faster && filter && e->op == Op::Eq) faster = signedIn(*e);
        if (faster) e = std::move(faster);
    }
    const bool andOr = e->kind == ExprKind::Chain && (e->op == Op::And || e->op == Op::Or);
    for (size_t i = 0; i < e->args.size(); ++i)
        expr(e->args[i], (andOr && filter) || e->kind == ExprKind::AnyOf || (i == 0 && isCall(*e, "iif")));
    if (e->sub) select(*e->sub);
}

void Rewriter::moveOrder(Select& outer) {
    // "select * from (... order by RQ desc) where ...": the rows must keep the inner order.
    // Stated on the outer select, SQLite can still flatten the derived table.
    if (!outer.orderBy.empty() || !outer.groupBy.empty() || outer.distinct || outer.having ||
        outer.unordered || outer.from.size() != 1 || outer.from[0]->kind != FromItem::Kind::Derived)
        return;
    for (const SelectItem& item : outer.items)
        if (hasAggregate(*item.expr)) return;
    const FromItem& derived = *outer.from[0];
    Select& inner = *derived.sub;
    if (inner.orderBy.empty() || inner.top) return;
    std::vector<OrderItem> moved;
    for (const OrderItem& o : inner.orderBy) {
        const Expr& k = *o.expr;
        if (k.kind != ExprKind::Column) return;
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
        if (name.isEmpty()) return;
        moved.push_back({columnOf(&derived.source, name, k.type, k.pos), o.desc});
    }
    outer.orderBy = std::move(moved);
    inner.orderBy.clear();
    inner.unordered = true;
}

ExprPtr Rewriter::searchEachPart(Expr& call) {
    // A keyword found in the joined text lies within one part when it holds no character of
    // the texts that join the parts. Each part is then searched on its own (a number or date
    // only when its text could hold the keyword), and the search stops at the first part that
    // holds it instead of building the whole text of every row.
    const Expr& needle = *call.args[1];
    const QList<uint> chars = foldedChars(needle.text);
    std::vector<ExprPtr*> items;
    flattenConcat(call.args[0], items);
    bool open = false; // the last part has no joining text after it yet
    std::vector<ExprPtr*> parts;
    for (ExprPtr* item : items) {
        const Expr& x = **item;
        if (x.kind == ExprKind::String) {
            if (x.text.isEmpty()) continue;
            const QList<uint> joining = foldedChars(x.text);
            if (std::any_of(joining.begin(), joining.end(), [&](uint c) { return holds(chars, c); }))
                return nullptr;
            open = false;
            continue;
        }
        if (open) return nullptr;
        open = true;
        parts.push_back(item);
    }
    // A Null part is no match (& joins it as no text), so the whole is never Null.
    auto any = node(ExprKind::AnyOf, Op::None, JetType::Boolean, call.pos);
    for (ExprPtr* part : parts) {
        const QString shown = shownCharacters((*part)->type);
        if (!shown.isEmpty()) {
            const QList<uint> possible = foldedChars(shown);
            if (!std::all_of(chars.begin(), chars.end(), [&](uint c) { return holds(possible, c); }))
                continue;
        }
        ExprPtr search = searchLookedUp(**part, needle);
        if (!search)
            search = node(ExprKind::Contains, Op::None, JetType::Boolean, call.pos, std::move(*part),
                          copy(needle));
        any->args.push_back(std::move(search));
    }
    return any;
}

ExprPtr Rewriter::searchLookedUp(const Expr& part, const Expr& needle) {
    // q.SPMC where q defines SPMC as (select x from T where T.ID = c) and also shows c: T's
    // key finds one row at most, so the row holds the keyword when c is the key of a row of T
    // whose x holds it. That set of keys is made once instead of looking x up for every row.
    if (!part.source || part.kind != ExprKind::Column || part.aliasRef) return nullptr;
    const FromItem* derived = nullptr;
    for (auto s = open_.rbegin(); s != open_.rend() && !derived; ++s)
        for (const auto& f : (*s)->from)
            if ((derived = derivedTable(*f, part.source))) break;
    if (!derived) return nullptr;
    const Select& d = *derived->sub;
    if (d.from.size() != 1 || d.from[0]->kind != FromItem::Kind::Table || !d.groupBy.empty() || d.having ||
        std::any_of(d.items.begin(), d.items.end(),
                    [](const SelectItem& i) { return hasAggregate(*i.expr); }))
        return nullptr;
    const Source* rows = &d.from[0]->source;
    const SelectItem* defined = namedItem(d, part.column);
    if (!defined || defined->expr->kind != ExprKind::Subquery) return nullptr;
    const Select& sub = *defined->expr->sub;
    if (sub.distinct || sub.top || sub.from.size() != 1 || sub.from[0]->kind != FromItem::Kind::Table ||
        !sub.groupBy.empty() || sub.having || !sub.orderBy.empty() || sub.items.size() != 1 || !sub.where)
        return nullptr;
    const FromItem& table = *sub.from[0];
    const Source* looked = &table.source;
    const Expr& w = *sub.where;
    if (looked->rowidKey.isEmpty() || w.kind != ExprKind::Binary || w.op != Op::Eq) return nullptr;
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
    if (!c || !readsOnly(x, looked)) return nullptr;
    // c as q shows it, unchanged and under one name.
    const SelectItem* shown = nullptr;
    for (const SelectItem& item : d.items)
        if (isColumnOf(*item.expr, rows) && item.expr->column.compare(c->column, Qt::CaseInsensitive) == 0) {
            shown = &item;
            break;
        }
    if (!shown || namedItem(d, shown->name) != shown) return nullptr;

    // c IN (select T.ID from T where InStr(x, 'k') > 0)
    auto keys = std::make_unique<Select>();
    keys->pos = sub.pos;
    auto t = std::make_unique<FromItem>();
    t->pos = table.pos;
    t->table = table.table;
    t->alias = table.alias;
    t->source = table.source;
    SelectItem item;
    item.expr = copy(*key, looked, &t->source);
    item.name = key->column;
    keys->result.push_back({item.name, key->type});
    keys->items.push_back(std::move(item));
    keys->where = node(ExprKind::Contains, Op::None, JetType::Boolean, needle.pos,
                       copy(x, looked, &t->source), copy(needle));
    keys->from.push_back(std::move(t));
    auto keyIn = node(ExprKind::KeyIn, Op::None, JetType::Boolean, part.pos,
                      columnOf(part.source, shown->name, c->type, part.pos));
    keyIn->sub = std::move(keys);
    return keyIn;
}

} // namespace

void rewrite(Statement& st) {
    Rewriter().statement(st);
}

} // namespace jet
