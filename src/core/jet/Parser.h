#pragma once
// Reads one Jet statement into a syntax tree. Nesting is bounded, so that no text, however
// malformed, can exhaust the stack.
#include "core/jet/Ast.h"
#include "core/jet/Lexer.h"

namespace jet {

class Parser {
public:
    static constexpr int kMaxNesting = 120; // brackets, sub-selects, NOT/minus runs
    static constexpr int kMaxDepth = 250;   // height of one expression tree

    explicit Parser(const QString& sql);
    // Throws JetError with the place of the first fault.
    Statement parseStatement();

private:
    // Counts one level of nesting while it lives; refuses the statement beyond kMaxNesting.
    class Nest {
    public:
        explicit Nest(Parser& p) : p_(p) {
            if (++p_.nesting_ > kMaxNesting) p_.fail(QStringLiteral("括号或子查询嵌套太深"));
        }
        ~Nest() { --p_.nesting_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

    private:
        Parser& p_;
    };

    const Token& peek(int ahead = 0) const;
    const Token& next();
    bool accept(const char* keyword);
    void expect(const char* keyword);
    void expect(Tok kind, const char* what);
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void fail(int pos, const QString& what) const;

    std::unique_ptr<Select> parseSelect();
    std::unique_ptr<FromItem> parseFromItem();
    std::unique_ptr<FromItem> parseFromPrimary();
    QString parseAlias();
    QString parseName(const char* what);
    void parseInsert(Statement& st);
    void parseUpdate(Statement& st);
    void parseDelete(Statement& st);
    void parseCreate(Statement& st);

    // Expressions (ParserExpressions.cpp).
    ExprPtr parseExpr();
    ExprPtr parseXor();
    ExprPtr parseAnd();
    ExprPtr parseNot();
    ExprPtr parseComparison();
    ExprPtr parseConcat();
    ExprPtr parseAdditive();
    ExprPtr parseMod();
    ExprPtr parseIntDiv();
    ExprPtr parseMultiplicative();
    ExprPtr parseUnary();
    ExprPtr parsePower();
    ExprPtr parsePrimary();
    ExprPtr parseFunction(const Token& name);

    ExprPtr make(ExprKind kind, int pos);
    ExprPtr binary(Op op, ExprPtr a, ExprPtr b, int pos);
    ExprPtr chain(Op op, std::vector<ExprPtr> args, int pos);
    void finish(Expr& e) const; // sets depth, refuses trees that are too tall

    QString sql_;
    std::vector<Token> tokens_;
    size_t at_ = 0;
    int nesting_ = 0;
};

} // namespace jet
