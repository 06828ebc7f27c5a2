// Statements and their clauses; their expressions are read in ParserExpressions.cpp.
#include "core/jet/Parser.h"

#include <algorithm>

namespace jet {

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
    if (t.kind != Tok::Ident || t.isReserved())
        fail(QStringLiteral("此处应为%1").arg(QString::fromUtf8(what)));
    next();
    return t.text;
}

QString Parser::parseAlias() {
    if (accept("AS")) return parseName("别名");
    const Token& t = peek();
    if (t.kind == Tok::Ident && !t.isReserved()) {
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

} // namespace jet
