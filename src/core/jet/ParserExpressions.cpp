// The expressions of a statement, from OR down to names, literals and calls.
#include "core/jet/Parser.h"

#include "core/jet/ValueText.h"

#include <algorithm>

namespace jet {

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
    if (t.isReserved()) fail(QStringLiteral("此处应为字段或表达式"));
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
