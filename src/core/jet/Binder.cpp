#include "core/jet/Binder.h"

#include "core/jet/Functions.h"
#include "core/jet/Lexer.h"

#include <algorithm>

namespace jet {

namespace {

bool isInteger(JetType t) {
    return t == JetType::Long || t == JetType::Integer || t == JetType::Boolean;
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

JetType unify(const Expr& a, const Expr& b) {
    if (a.kind == ExprKind::Null) return b.type;
    if (b.kind == ExprKind::Null || a.type == b.type) return a.type;
    const bool numA = isInteger(a.type) || a.type == JetType::Double;
    const bool numB = isInteger(b.type) || b.type == JetType::Double;
    if (numA && numB) return numericType(a.type, b.type);
    return JetType::Unknown;
}

} // namespace

JetType numericType(JetType a, JetType b) {
    return isInteger(a) && isInteger(b) ? JetType::Long : JetType::Double;
}

JetType Binder::ddlType(const QString& name, bool& counter) {
    const QString n = name.toUpper();
    counter = n == QLatin1String("COUNTER") || n == QLatin1String("AUTOINCREMENT") ||
              n == QLatin1String("IDENTITY");
    if (counter) return JetType::Long;
    auto in = [&](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(), [&](const char* x) { return n == QLatin1String(x); });
    };
    if (in({"TEXT", "STRING", "VARCHAR", "CHAR", "CHARACTER", "NVARCHAR", "NCHAR", "MEMO", "LONGTEXT", "NOTE",
            "ALPHANUMERIC", "LONGCHAR"}))
        return JetType::Text;
    if (in({"LONG", "INTEGER", "INT", "INTEGER4"})) return JetType::Long;
    if (in({"SHORT", "SMALLINT", "INTEGER2", "BYTE", "TINYINT"})) return JetType::Integer;
    if (in({"DOUBLE", "FLOAT", "FLOAT8", "NUMBER", "NUMERIC", "DECIMAL", "REAL", "SINGLE", "FLOAT4",
            "CURRENCY", "MONEY"}))
        return JetType::Double;
    if (in({"BIT", "YESNO", "LOGICAL", "LOGICAL1", "BOOLEAN"})) return JetType::Boolean;
    if (in({"DATETIME", "DATE", "TIME", "TIMESTAMP"})) return JetType::Date;
    return JetType::Unknown;
}

void Binder::fail(int pos, const QString& what) const {
    failAt(sql_, pos, what);
}

QString Binder::uniqueAlias(const QString& base) {
    QString alias = base;
    for (int n = 2; aliases_.contains(alias.toLower()); ++n)
        alias = base + QLatin1Char('_') + QString::number(n);
    aliases_.insert(alias.toLower());
    return alias;
}

void Binder::bind(Statement& st) {
    switch (st.kind) {
    case Statement::Kind::Select:
        bindSelect(*st.select, nullptr);
        return;
    case Statement::Kind::Insert: {
        bindTarget(st, st.target);
        const auto& cols = st.target.columns;
        if (st.columns.empty()) {
            st.targets = cols;
        } else {
            for (size_t i = 0; i < st.columns.size(); ++i) {
                auto it = std::find_if(cols.begin(), cols.end(),
                                       [&](const ResultColumn& c) { return same(c.name, st.columns[i]); });
                if (it == cols.end())
                    fail(st.columnPos[i],
                         QStringLiteral("数据表 %1 没有字段 %2").arg(st.target.table, st.columns[i]));
                st.targets.push_back(*it);
            }
        }
        const Scope none;
        size_t given;
        if (st.select) {
            bindSelect(*st.select, nullptr);
            given = st.select->result.size();
        } else {
            for (auto& v : st.values)
                bindExpr(*v, none);
            given = st.values.size();
        }
        if (given != st.targets.size())
            fail(st.tablePos, QStringLiteral("字段有 %1 个，值却有 %2 个").arg(st.targets.size()).arg(given));
        return;
    }
    case Statement::Kind::Update: {
        bindTarget(st, st.target);
        Scope scope;
        scope.sources.push_back(&st.target);
        for (size_t i = 0; i < st.columns.size(); ++i) {
            const auto& cols = st.target.columns;
            auto it = std::find_if(cols.begin(), cols.end(),
                                   [&](const ResultColumn& c) { return same(c.name, st.columns[i]); });
            if (it == cols.end())
                fail(st.columnPos[i],
                     QStringLiteral("数据表 %1 没有字段 %2").arg(st.target.table, st.columns[i]));
            st.targets.push_back(*it);
            bindExpr(*st.values[i], scope);
        }
        if (st.where) bindExpr(*st.where, scope);
        return;
    }
    case Statement::Kind::Delete: {
        bindTarget(st, st.target);
        Scope scope;
        scope.sources.push_back(&st.target);
        if (st.where) bindExpr(*st.where, scope);
        return;
    }
    case Statement::Kind::CreateTable: {
        if (catalog_.hasTable(st.table))
            fail(st.tablePos, QStringLiteral("数据表 %1 已经存在").arg(st.table));
        int counters = 0, keys = 0;
        for (size_t i = 0; i < st.defs.size(); ++i) {
            ColumnDef& d = st.defs[i];
            d.type = ddlType(d.typeName, d.counter);
            if (d.type == JetType::Unknown)
                fail(d.pos, QStringLiteral("不支持的字段类型 %1").arg(d.typeName));
            counters += d.counter;
            keys += d.primaryKey && !d.counter;
            for (size_t j = 0; j < i; ++j)
                if (same(st.defs[j].name, d.name)) fail(d.pos, QStringLiteral("字段 %1 重复").arg(d.name));
        }
        if (counters > 1 || (counters && keys) || keys > 1)
            fail(st.tablePos, QStringLiteral("一个数据表只能有一个自动编号或主键字段"));
        return;
    }
    case Statement::Kind::DropTable:
        if (!catalog_.hasTable(st.table)) fail(st.tablePos, QStringLiteral("没有数据表 %1").arg(st.table));
        st.table = catalog_.tableName(st.table);
        return;
    }
}

void Binder::bindTarget(Statement& st, Source& source) {
    const QString stored = catalog_.tableName(st.table);
    if (stored.isEmpty()) fail(st.tablePos, QStringLiteral("没有数据表 %1").arg(st.table));
    source.table = stored;
    source.jetName = st.table;
    source.sqlAlias = uniqueAlias(stored);
    for (const auto& c : catalog_.columns(stored))
        source.columns.push_back({c.name, c.type});
}

void Binder::bindFrom(FromItem& item, Scope& scope, const Scope* outer) {
    switch (item.kind) {
    case FromItem::Kind::Table: {
        const QString stored = catalog_.tableName(item.table);
        if (stored.isEmpty()) fail(item.pos, QStringLiteral("没有数据表 %1").arg(item.table));
        item.source.table = stored;
        item.source.jetName = item.alias.isEmpty() ? item.table : item.alias;
        item.source.sqlAlias = uniqueAlias(item.alias.isEmpty() ? stored : item.alias);
        for (const auto& c : catalog_.columns(stored)) {
            item.source.columns.push_back({c.name, c.type});
            if (c.rowid) item.source.rowidKey = c.name;
        }
        scope.sources.push_back(&item.source);
        return;
    }
    case FromItem::Kind::Derived:
        // A derived table sees the selects around its own select, not its siblings.
        bindSelect(*item.sub, outer);
        item.source.jetName = item.alias;
        item.source.sqlAlias = uniqueAlias(item.alias.isEmpty() ? QStringLiteral("q") : item.alias);
        item.source.columns = item.sub->result;
        scope.sources.push_back(&item.source);
        return;
    case FromItem::Kind::Join:
        bindFrom(*item.left, scope, outer);
        bindFrom(*item.right, scope, outer);
        bindExpr(*item.on, scope);
        return;
    }
}

void Binder::bindSelect(Select& s, const Scope* parent) {
    Scope scope;
    scope.parent = parent;
    for (auto& f : s.from)
        bindFrom(*f, scope, parent);
    // Expand the stars into the columns they stand for.
    std::vector<SelectItem> items;
    for (auto& item : s.items) {
        if (!item.star) {
            items.push_back(std::move(item));
            continue;
        }
        bool found = false;
        for (const Source* src : scope.sources) {
            if (!item.starQualifier.isEmpty() && !same(src->jetName, item.starQualifier)) continue;
            found = true;
            for (const ResultColumn& c : src->columns) {
                SelectItem col;
                col.pos = item.pos;
                col.expr = std::make_unique<Expr>();
                col.expr->kind = ExprKind::Column;
                col.expr->pos = item.pos;
                col.expr->text = c.name;
                col.expr->source = src;
                col.expr->column = c.name;
                col.expr->type = c.type;
                items.push_back(std::move(col));
            }
        }
        if (!found)
            fail(item.pos, item.starQualifier.isEmpty()
                               ? QStringLiteral("“*”前没有数据表")
                               : QStringLiteral("没有数据表 %1").arg(item.starQualifier));
    }
    s.items = std::move(items);
    int expr = 1000;
    for (auto& item : s.items) {
        if (item.expr->kind != ExprKind::Column || item.expr->source == nullptr) bindExpr(*item.expr, scope);
        if (!item.alias.isEmpty())
            item.name = item.alias;
        else if (item.expr->kind == ExprKind::Column)
            item.name = item.expr->text;
        else
            item.name = QStringLiteral("Expr%1").arg(expr++);
        s.result.push_back({item.name, item.expr->type});
    }
    if (s.where) bindExpr(*s.where, scope);
    for (auto& g : s.groupBy)
        bindExpr(*g, scope);
    if (s.having) bindExpr(*s.having, scope);
    const Select* saved = orderOf_;
    orderOf_ = &s;
    for (auto& o : s.orderBy)
        bindExpr(*o.expr, scope);
    orderOf_ = saved;
}

void Binder::bindSubselect(Select& s, const Scope& scope, int pos, bool scalar) {
    const Select* saved = orderOf_;
    orderOf_ = nullptr;
    bindSelect(s, &scope);
    orderOf_ = saved;
    if (scalar && s.result.size() != 1) fail(pos, QStringLiteral("子查询只能返回一个字段"));
}

void Binder::bindColumn(Expr& e, const Scope& scope) {
    if (!e.qualifier.isEmpty()) {
        for (const Scope* s = &scope; s; s = s->parent)
            for (const Source* src : s->sources) {
                if (src->jetName.isEmpty() || !same(src->jetName, e.qualifier)) continue;
                for (const ResultColumn& c : src->columns)
                    if (same(c.name, e.text)) {
                        e.source = src;
                        e.column = c.name;
                        e.type = c.type;
                        return;
                    }
                fail(e.pos, QStringLiteral("%1 中没有字段 %2").arg(e.qualifier, e.text));
            }
        fail(e.pos, QStringLiteral("没有数据表 %1").arg(e.qualifier));
    }
    for (const Scope* s = &scope; s; s = s->parent) {
        const Source* found = nullptr;
        for (const Source* src : s->sources)
            for (const ResultColumn& c : src->columns)
                if (same(c.name, e.text)) {
                    if (found)
                        fail(e.pos, QStringLiteral("字段 %1 不明确，它可能属于多个数据表").arg(e.text));
                    found = src;
                    e.column = c.name;
                    e.type = c.type;
                    break;
                }
        if (found) {
            e.source = found;
            return;
        }
    }
    if (orderOf_) // ORDER BY may name a result column of its own select
        for (const SelectItem& item : orderOf_->items)
            if (same(item.name, e.text)) {
                e.aliasRef = true;
                e.column = item.name;
                e.type = item.expr->type;
                return;
            }
    fail(e.pos, QStringLiteral("没有字段 %1").arg(e.text));
}

void Binder::bindExpr(Expr& e, const Scope& scope) {
    for (auto& a : e.args)
        bindExpr(*a, scope);
    switch (e.kind) {
    case ExprKind::Number: {
        bool ok = false;
        const qint64 v = e.text.toLongLong(&ok);
        e.type = ok && v <= 2147483647LL ? JetType::Long : JetType::Double;
        return;
    }
    case ExprKind::String:
        e.type = JetType::Text;
        return;
    case ExprKind::DateLit:
        e.type = JetType::Date;
        return;
    case ExprKind::Null:
        e.type = JetType::Unknown;
        return;
    case ExprKind::Bool:
        e.type = JetType::Boolean;
        return;
    case ExprKind::Column:
        bindColumn(e, scope);
        return;
    case ExprKind::Unary: {
        const JetType t = e.args[0]->type;
        if (e.op == Op::Not)
            e.type = isInteger(t) && t != JetType::Boolean ? JetType::Long
                     : t == JetType::Double                ? JetType::Long
                                                           : JetType::Boolean;
        else
            e.type = t == JetType::Boolean ? JetType::Long : t == JetType::Date ? JetType::Double : t;
        return;
    }
    case ExprKind::Binary: {
        const JetType a = e.args[0]->type, b = e.args[1]->type;
        switch (e.op) {
        case Op::Add:
            if (a == JetType::Text && b == JetType::Text)
                e.type = JetType::Text;
            else if ((a == JetType::Date) != (b == JetType::Date))
                e.type = JetType::Date;
            else
                e.type = numericType(a, b);
            return;
        case Op::Sub:
            e.type = a == JetType::Date && b != JetType::Date ? JetType::Date : numericType(a, b);
            return;
        case Op::Mul:
            e.type = numericType(a, b);
            return;
        case Op::Div:
        case Op::Pow:
            e.type = JetType::Double;
            return;
        case Op::IntDiv:
        case Op::Mod:
            e.type = JetType::Long;
            return;
        default:
            e.type = JetType::Boolean;
            return;
        }
    }
    case ExprKind::Chain:
        e.type = e.op == Op::Concat ? JetType::Text : JetType::Boolean;
        return;
    case ExprKind::Function:
        bindFunction(e);
        return;
    case ExprKind::Subquery:
        bindSubselect(*e.sub, scope, e.pos, true);
        e.type = e.sub->result[0].type;
        return;
    case ExprKind::Exists:
        bindSubselect(*e.sub, scope, e.pos, false);
        e.type = JetType::Boolean;
        return;
    case ExprKind::InSelect:
        bindSubselect(*e.sub, scope, e.pos, true);
        e.type = JetType::Boolean;
        return;
    case ExprKind::InList:
    case ExprKind::Between:
    case ExprKind::IsNull:
    case ExprKind::Like:
    case ExprKind::AnyOf: // these three only come after binding
    case ExprKind::Contains:
    case ExprKind::KeyIn:
        e.type = JetType::Boolean;
        return;
    }
}

void Binder::bindFunction(Expr& e) {
    const Function* f = findFunction(e.text);
    if (!f) fail(e.pos, QStringLiteral("不认识的函数 %1").arg(e.text));
    const int n = int(e.args.size());
    if (e.star ? f->kind != Function::Kind::Count : n < f->minArgs || n > f->maxArgs)
        fail(e.pos, QStringLiteral("函数 %1 的参数个数不对").arg(e.text));
    e.function = f;
    e.aggregate = f->kind != Function::Kind::Plain;
    switch (f->returns) {
    case Returns::Long:
        e.type = JetType::Long;
        return;
    case Returns::Integer:
        e.type = JetType::Integer;
        return;
    case Returns::Double:
        e.type = JetType::Double;
        return;
    case Returns::Text:
        e.type = JetType::Text;
        return;
    case Returns::Date:
        e.type = JetType::Date;
        return;
    case Returns::Boolean:
        e.type = JetType::Boolean;
        return;
    case Returns::First:
        e.type = e.args[0]->type;
        return;
    case Returns::Number:
        e.type = isInteger(e.args[0]->type) ? JetType::Long : JetType::Double;
        return;
    case Returns::Either:
        e.type = n == 1 ? e.args[0]->type : unify(*e.args[size_t(n) - 2], *e.args[size_t(n) - 1]);
        return;
    }
}

} // namespace jet
