#include "core/jet/Parser.h"

#include "core/jet/ValueText.h"

#include <algorithm>

namespace jet {

namespace {

// Words that end a list or an expression and so can never be an alias without AS.
const char* const kReserved[] = {
    "SELECT", "FROM",   "WHERE",  "GROUP", "BY",       "HAVING",      "ORDER", "ASC",    "DESC",
    "AS",     "AND",    "OR",     "XOR",   "NOT",      "IS",          "NULL",  "LIKE",   "BETWEEN",
    "IN",     "EXISTS", "TRUE",   "FALSE", "MOD",      "INSERT",      "INTO",  "VALUES", "UPDATE",
    "SET",    "DELETE", "CREATE", "TABLE", "DROP",     "JOIN",        "INNER", "LEFT",   "RIGHT",
    "OUTER",  "ON",     "UNION",  "TOP",   "DISTINCT", "DISTINCTROW", "ALL"};

bool isReserved(const Token& t) {
    if (t.kind != Tok::Ident || t.bracketed) return false;
    return std::any_of(std::begin(kReserved), std::end(kReserved), [&](const char* w) { return t.is(w); });
}

} // namespace

class Parser::Nest {
public:
    explicit Nest(Parser& p) : p_(p) {
        if (++p_.nesting_ > kMaxNesting) p_.fail(QStringLiteral("括号或子查询嵌套太深"));
    }
    ~Nest() { --p_.nesting_; }

private:
    Parser& p_;
};

Parser::Parser(const QString& sql) : sql_(sql), tokens_(Lexer::tokenize(sql)) {}

const Token& Parser::peek(int ahead) const {
    return tokens_[std::min(at_ + ahead, tokens_.size() - 1)];
}

const Token& Parser::next() {
    const Token& t = tokens_[at_];
    if (at_ + 1 < tokens_.size()) ++at_;
    return t;
}

bool Parser::accept(const char* keyword) {
    if (!peek().is(keyword)) return false;
    next();
    return true;
}

void Parser::expect(const char* keyword) {
    if (!accept(keyword)) fail(QStringLiteral("此处应为 %1").arg(QLatin1String(keyword)));
}

void Parser::expect(Tok kind, const char* what) {
    if (peek().kind != kind) fail(QStringLiteral("此处应为“%1”").arg(QLatin1String(what)));
    next();
}

void Parser::fail(const QString& what) const {
    fail(peek().pos, what);
}

void Parser::fail(int pos, const QString& what) const {
    failAt(sql_, pos, what);
}

ExprPtr Parser::make(ExprKind kind, int pos) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->pos = pos;
    return e;
}

void Parser::finish(Expr& e) const {
    int d = 0;
    for (const auto& a : e.args)
        d = std::max(d, a->depth);
    e.depth = d + 1;
    if (e.depth > kMaxDepth) fail(e.pos, QStringLiteral("表达式太复杂"));
}

ExprPtr Parser::binary(Op op, ExprPtr a, ExprPtr b, int pos) {
    auto e = make(ExprKind::Binary, pos);
    e->op = op;
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    finish(*e);
    return e;
}

ExprPtr Parser::chain(Op op, std::vector<ExprPtr> args, int pos) {
    if (args.size() == 1) return std::move(args.front());
    auto e = make(ExprKind::Chain, pos);
    e->op = op;
    e->args = std::move(args);
    finish(*e);
    return e;
}

Statement Parser::parseStatement() {
    Statement st;
    const Token& first = peek();
    if (first.is("SELECT")) {
        st.kind = Statement::Kind::Select;
        st.select = parseSelect();
    } else if (first.is("INSERT")) {
        parseInsert(st);
    } else if (first.is("UPDATE")) {
        parseUpdate(st);
    } else if (first.is("DELETE")) {
        parseDelete(st);
    } else if (first.is("CREATE")) {
        parseCreate(st);
    } else if (first.is("DROP")) {
        next();
        expect("TABLE");
        st.kind = Statement::Kind::DropTable;
        st.tablePos = peek().pos;
        st.table = parseName("表名");
    } else if (first.kind == Tok::End) {
        fail(QStringLiteral("空语句"));
    } else {
        fail(QStringLiteral("不认识的语句，应以 SELECT、INSERT、UPDATE、DELETE、CREATE 或 DROP 开头"));
    }
    if (peek().kind == Tok::Semicolon) next();
    if (peek().kind != Tok::End) fail(QStringLiteral("语句在此处应当结束"));
    return st;
}

QString Parser::parseName(const char* what) {
    const Token& t = peek();
    if (t.kind != Tok::Ident || isReserved(t))
        fail(QStringLiteral("此处应为%1").arg(QString::fromUtf8(what)));
    next();
    return t.text;
}

QString Parser::parseAlias() {
    if (accept("AS")) return parseName("别名");
    const Token& t = peek();
    if (t.kind == Tok::Ident && !isReserved(t)) {
        next();
        return t.text;
    }
    return {};
}

std::unique_ptr<Select> Parser::parseSelect() {
    Nest nest(*this);
    auto s = std::make_unique<Select>();
    s->pos = peek().pos;
    expect("SELECT");
    if (accept("DISTINCT"))
        s->distinct = true;
    else if (!accept("DISTINCTROW"))
        accept("ALL");
    if (peek().is("TOP")) {
        next();
        const Token& n = peek();
        bool ok = false;
        const qint64 count = n.text.toLongLong(&ok);
        if (n.kind != Tok::Number || !ok || count < 0) fail(QStringLiteral("TOP 后面应为行数"));
        next();
        if (peek().is("PERCENT")) fail(QStringLiteral("不支持 TOP … PERCENT"));
        s->top = count;
    }
    // Select list.
    for (;;) {
        SelectItem item;
        item.pos = peek().pos;
        if (peek().isOp("*")) {
            next();
            item.star = true;
        } else if (peek().kind == Tok::Ident && peek(1).kind == Tok::Dot && peek(2).isOp("*")) {
            item.starQualifier = next().text;
            next();
            next();
            item.star = true;
        } else {
            item.expr = parseExpr();
            item.alias = parseAlias();
        }
        s->items.push_back(std::move(item));
        if (peek().kind != Tok::Comma) break;
        next();
    }
    if (accept("FROM")) {
        for (;;) {
            s->from.push_back(parseFromItem());
            if (peek().kind != Tok::Comma) break;
            next();
        }
    }
    if (accept("WHERE")) s->where = parseExpr();
    if (peek().is("GROUP")) {
        next();
        expect("BY");
        for (;;) {
            s->groupBy.push_back(parseExpr());
            if (peek().kind != Tok::Comma) break;
            next();
        }
    }
    if (accept("HAVING")) s->having = parseExpr();
    if (peek().is("ORDER")) {
        next();
        expect("BY");
        for (;;) {
            OrderItem o;
            o.expr = parseExpr();
            if (accept("DESC"))
                o.desc = true;
            else
                accept("ASC");
            s->orderBy.push_back(std::move(o));
            if (peek().kind != Tok::Comma) break;
            next();
        }
    }
    if (peek().is("UNION")) fail(QStringLiteral("不支持 UNION"));
    return s;
}

std::unique_ptr<FromItem> Parser::parseFromItem() {
    auto left = parseFromPrimary();
    for (;;) {
        JoinKind kind = JoinKind::None;
        const int pos = peek().pos;
        if (peek().is("INNER")) {
            kind = JoinKind::Inner;
        } else if (peek().is("LEFT") && peek(1).kind != Tok::LParen) {
            kind = JoinKind::Left;
        } else if (peek().is("RIGHT") && peek(1).kind != Tok::LParen) {
            kind = JoinKind::Right;
        } else if (peek().is("JOIN")) {
            fail(QStringLiteral("JOIN 前应写明 INNER、LEFT 或 RIGHT"));
        } else {
            return left;
        }
        if (!peek().is("JOIN")) next();
        accept("OUTER");
        expect("JOIN");
        auto join = std::make_unique<FromItem>();
        join->kind = FromItem::Kind::Join;
        join->pos = pos;
        join->join = kind;
        join->left = std::move(left);
        join->right = parseFromPrimary();
        expect("ON");
        join->on = parseExpr();
        left = std::move(join);
    }
}

std::unique_ptr<FromItem> Parser::parseFromPrimary() {
    Nest nest(*this);
    auto item = std::make_unique<FromItem>();
    item->pos = peek().pos;
    if (peek().kind == Tok::LParen) {
        next();
        if (peek().is("SELECT")) {
            item->kind = FromItem::Kind::Derived;
            item->sub = parseSelect();
            expect(Tok::RParen, ")");
            item->alias = parseAlias();
            return item;
        }
        auto inner = parseFromItem();
        expect(Tok::RParen, ")");
        return inner;
    }
    item->kind = FromItem::Kind::Table;
    item->table = parseName("表名");
    item->alias = parseAlias();
    return item;
}

void Parser::parseInsert(Statement& st) {
    st.kind = Statement::Kind::Insert;
    next();
    expect("INTO");
    st.tablePos = peek().pos;
    st.table = parseName("表名");
    if (peek().kind == Tok::LParen && !peek(1).is("SELECT")) {
        next();
        for (;;) {
            st.columnPos.push_back(peek().pos);
            st.columns.push_back(parseName("字段名"));
            if (peek().kind != Tok::Comma) break;
            next();
        }
        expect(Tok::RParen, ")");
    }
    if (peek().is("SELECT")) {
        st.select = parseSelect();
        return;
    }
    if (peek().kind == Tok::LParen && peek(1).is("SELECT")) {
        next();
        st.select = parseSelect();
        expect(Tok::RParen, ")");
        return;
    }
    expect("VALUES");
    expect(Tok::LParen, "(");
    for (;;) {
        st.values.push_back(parseExpr());
        if (peek().kind != Tok::Comma) break;
        next();
    }
    expect(Tok::RParen, ")");
}

void Parser::parseUpdate(Statement& st) {
    st.kind = Statement::Kind::Update;
    next();
    st.tablePos = peek().pos;
    st.table = parseName("表名");
    expect("SET");
    for (;;) {
        st.columnPos.push_back(peek().pos);
        QString column = parseName("字段名");
        if (peek().kind == Tok::Dot) { // T.col
            next();
            column = parseName("字段名");
        }
        st.columns.push_back(column);
        if (!peek().isOp("=")) fail(QStringLiteral("此处应为“=”"));
        next();
        st.values.push_back(parseExpr());
        if (peek().kind != Tok::Comma) break;
        next();
    }
    if (accept("WHERE")) st.where = parseExpr();
}

void Parser::parseDelete(Statement& st) {
    st.kind = Statement::Kind::Delete;
    next();
    if (peek().isOp("*")) next();
    expect("FROM");
    st.tablePos = peek().pos;
    st.table = parseName("表名");
    if (accept("WHERE")) st.where = parseExpr();
}

void Parser::parseCreate(Statement& st) {
    st.kind = Statement::Kind::CreateTable;
    next();
    expect("TABLE");
    st.tablePos = peek().pos;
    st.table = parseName("表名");
    expect(Tok::LParen, "(");
    for (;;) {
        ColumnDef def;
        def.pos = peek().pos;
        def.name = parseName("字段名");
        const Token& type = peek();
        if (type.kind != Tok::Ident) fail(QStringLiteral("此处应为字段类型"));
        def.typeName = next().text;
        if (peek().kind == Tok::LParen) { // String(50), Decimal(10,2)
            next();
            while (peek().kind == Tok::Number || peek().kind == Tok::Comma)
                next();
            expect(Tok::RParen, ")");
        }
        for (;;) {
            if (peek().is("NOT")) {
                next();
                expect("NULL");
                def.notNull = true;
            } else if (peek().is("NULL")) {
                next();
            } else if (peek().is("PRIMARY")) {
                next();
                expect("KEY");
                def.primaryKey = true;
            } else {
                break;
            }
        }
        st.defs.push_back(std::move(def));
        if (peek().kind != Tok::Comma) break;
        next();
    }
    expect(Tok::RParen, ")");
}

ExprPtr Parser::parseExpr() {
    Nest nest(*this);
    const int pos = peek().pos;
    std::vector<ExprPtr> parts;
    parts.push_back(parseXor());
    while (peek().is("OR")) {
        next();
        parts.push_back(parseXor());
    }
    return chain(Op::Or, std::move(parts), pos);
}

ExprPtr Parser::parseXor() {
    auto left = parseAnd();
    while (peek().is("XOR")) {
        const int pos = next().pos;
        left = binary(Op::Xor, std::move(left), parseAnd(), pos);
    }
    return left;
}

ExprPtr Parser::parseAnd() {
    const int pos = peek().pos;
    std::vector<ExprPtr> parts;
    parts.push_back(parseNot());
    while (peek().is("AND")) {
        next();
        parts.push_back(parseNot());
    }
    return chain(Op::And, std::move(parts), pos);
}

ExprPtr Parser::parseNot() {
    if (!peek().is("NOT")) return parseComparison();
    Nest nest(*this);
    const int pos = next().pos;
    auto e = make(ExprKind::Unary, pos);
    e->op = Op::Not;
    e->args.push_back(parseNot());
    finish(*e);
    return e;
}

ExprPtr Parser::parseComparison() {
    auto left = parseConcat();
    for (;;) {
        const Token& t = peek();
        const int pos = t.pos;
        Op op = Op::None;
        if (t.kind == Tok::Op) {
            if (t.text == QLatin1String("="))
                op = Op::Eq;
            else if (t.text == QLatin1String("<>"))
                op = Op::Ne;
            else if (t.text == QLatin1String("<"))
                op = Op::Lt;
            else if (t.text == QLatin1String("<="))
                op = Op::Le;
            else if (t.text == QLatin1String(">"))
                op = Op::Gt;
            else if (t.text == QLatin1String(">="))
                op = Op::Ge;
        }
        if (op != Op::None) {
            next();
            left = binary(op, std::move(left), parseConcat(), pos);
            continue;
        }
        if (t.is("IS")) {
            next();
            auto e = make(ExprKind::IsNull, pos);
            e->negated = accept("NOT");
            expect("NULL");
            e->args.push_back(std::move(left));
            finish(*e);
            left = std::move(e);
            continue;
        }
        bool negated = false;
        if (t.is("NOT") && (peek(1).is("LIKE") || peek(1).is("BETWEEN") || peek(1).is("IN"))) {
            next();
            negated = true;
        }
        if (accept("LIKE")) {
            auto e = make(ExprKind::Like, pos);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(parseConcat());
            finish(*e);
            left = std::move(e);
        } else if (accept("BETWEEN")) {
            auto e = make(ExprKind::Between, pos);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(parseConcat());
            expect("AND");
            e->args.push_back(parseConcat());
            finish(*e);
            left = std::move(e);
        } else if (accept("IN")) {
            Nest nest(*this);
            expect(Tok::LParen, "(");
            ExprPtr e;
            if (peek().is("SELECT")) {
                e = make(ExprKind::InSelect, pos);
                e->args.push_back(std::move(left));
                e->sub = parseSelect();
            } else {
                e = make(ExprKind::InList, pos);
                e->args.push_back(std::move(left));
                for (;;) {
                    e->args.push_back(parseExpr());
                    if (peek().kind != Tok::Comma) break;
                    next();
                }
            }
            expect(Tok::RParen, ")");
            e->negated = negated;
            finish(*e);
            left = std::move(e);
        } else {
            return left;
        }
    }
}

ExprPtr Parser::parseConcat() {
    const int pos = peek().pos;
    std::vector<ExprPtr> parts;
    parts.push_back(parseAdditive());
    while (peek().isOp("&")) {
        next();
        parts.push_back(parseAdditive());
    }
    return chain(Op::Concat, std::move(parts), pos);
}

ExprPtr Parser::parseAdditive() {
    auto left = parseMod();
    for (;;) {
        const Token& t = peek();
        if (!t.isOp("+") && !t.isOp("-")) return left;
        const Op op = t.isOp("+") ? Op::Add : Op::Sub;
        const int pos = next().pos;
        left = binary(op, std::move(left), parseMod(), pos);
    }
}

ExprPtr Parser::parseMod() {
    auto left = parseIntDiv();
    while (peek().is("MOD")) {
        const int pos = next().pos;
        left = binary(Op::Mod, std::move(left), parseIntDiv(), pos);
    }
    return left;
}

ExprPtr Parser::parseIntDiv() {
    auto left = parseMultiplicative();
    while (peek().isOp("\\")) {
        const int pos = next().pos;
        left = binary(Op::IntDiv, std::move(left), parseMultiplicative(), pos);
    }
    return left;
}

ExprPtr Parser::parseMultiplicative() {
    auto left = parseUnary();
    for (;;) {
        const Token& t = peek();
        if (!t.isOp("*") && !t.isOp("/")) return left;
        const Op op = t.isOp("*") ? Op::Mul : Op::Div;
        const int pos = next().pos;
        left = binary(op, std::move(left), parseUnary(), pos);
    }
}

ExprPtr Parser::parseUnary() {
    if (!peek().isOp("-") && !peek().isOp("+")) return parsePower();
    Nest nest(*this);
    const bool minus = peek().isOp("-");
    const int pos = next().pos;
    auto operand = parseUnary();
    if (!minus) return operand;
    auto e = make(ExprKind::Unary, pos);
    e->op = Op::Neg;
    e->args.push_back(std::move(operand));
    finish(*e);
    return e;
}

ExprPtr Parser::parsePower() {
    auto left = parsePrimary();
    while (peek().isOp("^")) {
        const int pos = next().pos;
        left = binary(Op::Pow, std::move(left), parseUnary(), pos);
    }
    return left;
}

ExprPtr Parser::parsePrimary() {
    Nest nest(*this);
    const Token& t = peek();
    const int pos = t.pos;
    switch (t.kind) {
    case Tok::Number: {
        auto e = make(ExprKind::Number, pos);
        e->text = next().text;
        return e;
    }
    case Tok::String: {
        auto e = make(ExprKind::String, pos);
        e->text = next().text;
        return e;
    }
    case Tok::Date: {
        const QDateTime dt = parseDateText(t.text, true);
        if (!dt.isValid()) fail(QStringLiteral("不是有效的日期：#%1#").arg(t.text));
        next();
        auto e = make(ExprKind::DateLit, pos);
        e->text = isoText(dt);
        return e;
    }
    case Tok::LParen: {
        next();
        if (peek().is("SELECT")) {
            auto e = make(ExprKind::Subquery, pos);
            e->sub = parseSelect();
            expect(Tok::RParen, ")");
            return e;
        }
        auto inner = parseExpr();
        expect(Tok::RParen, ")");
        return inner;
    }
    case Tok::Ident:
        break;
    case Tok::End:
        fail(QStringLiteral("语句不完整"));
    default:
        fail(QStringLiteral("此处应为字段或表达式"));
    }
    if (t.is("NULL")) {
        next();
        return make(ExprKind::Null, pos);
    }
    if (t.is("TRUE") || t.is("FALSE")) {
        auto e = make(ExprKind::Bool, pos);
        e->boolValue = t.is("TRUE");
        next();
        return e;
    }
    if (t.is("EXISTS")) {
        next();
        expect(Tok::LParen, "(");
        auto e = make(ExprKind::Exists, pos);
        e->sub = parseSelect();
        expect(Tok::RParen, ")");
        return e;
    }
    if (peek(1).kind == Tok::LParen && !t.bracketed) {
        const Token& name = next();
        return parseFunction(name);
    }
    if (isReserved(t)) fail(QStringLiteral("此处应为字段或表达式"));
    auto e = make(ExprKind::Column, pos);
    e->text = next().text;
    if (peek().kind == Tok::Dot) {
        next();
        const Token& col = peek();
        if (col.kind != Tok::Ident) fail(QStringLiteral("“.”后面应为字段名"));
        e->qualifier = e->text;
        e->text = next().text;
    }
    return e;
}

ExprPtr Parser::parseFunction(const Token& name) {
    auto e = make(ExprKind::Function, name.pos);
    e->text = name.text;
    expect(Tok::LParen, "(");
    if (peek().isOp("*")) {
        next();
        e->star = true;
    } else if (peek().kind != Tok::RParen) {
        for (;;) {
            e->args.push_back(parseExpr());
            if (peek().kind != Tok::Comma) break;
            next();
        }
    }
    expect(Tok::RParen, ")");
    finish(*e);
    return e;
}

} // namespace jet
