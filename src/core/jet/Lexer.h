#pragma once
// Splits a Jet statement into tokens.
#include <QString>
#include <vector>

namespace jet {

enum class Tok { End, Ident, Number, String, Date, Op, LParen, RParen, Comma, Dot, Semicolon };

struct Token {
    Tok kind = Tok::End;
    QString text;           // identifier or operator as written; the value of a string or date literal
    int pos = 0;            // character offset in the statement
    bool bracketed = false; // [name]: never a keyword
    bool is(const char* keyword) const;
    // A word that ends a list or an expression, and so can never be an alias without AS.
    bool isReserved() const;
    bool isOp(const char* op) const { return kind == Tok::Op && text == QLatin1String(op); }
};

class Lexer {
public:
    // Throws JetError for an unterminated literal or a character that has no meaning here.
    static std::vector<Token> tokenize(const QString& sql);
};

// "SQL 语句有误：<what>（第 n 个字符处：…）": every message about a statement's text looks alike.
[[noreturn]] void failAt(const QString& sql, int pos, const QString& what);

} // namespace jet
