#include "core/jet/Lexer.h"

#include "core/jet/JetTypes.h"

#include <algorithm>

namespace jet {

bool Token::is(const char* keyword) const {
    return kind == Tok::Ident && !bracketed && text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

bool Token::isReserved() const {
    static const char* const reserved[] = {
        "SELECT", "FROM",   "WHERE",  "GROUP", "BY",       "HAVING",      "ORDER", "ASC",    "DESC",
        "AS",     "AND",    "OR",     "XOR",   "NOT",      "IS",          "NULL",  "LIKE",   "BETWEEN",
        "IN",     "EXISTS", "TRUE",   "FALSE", "MOD",      "INSERT",      "INTO",  "VALUES", "UPDATE",
        "SET",    "DELETE", "CREATE", "TABLE", "DROP",     "JOIN",        "INNER", "LEFT",   "RIGHT",
        "OUTER",  "ON",     "UNION",  "TOP",   "DISTINCT", "DISTINCTROW", "ALL"};
    return std::any_of(std::begin(reserved), std::end(reserved), [&](const char* w) { return is(w); });
}

void failAt(const QString& sql, int pos, const QString& what) {
    pos = std::clamp(pos, 0, int(sql.size()));
    QString near = sql.mid(pos, 24).simplified();
    if (pos + 24 < sql.size()) near += QStringLiteral("…");
    const QString where = near.isEmpty() ? QStringLiteral("（在语句末尾）")
                                         : QStringLiteral("（第 %1 个字符处：%2）").arg(pos + 1).arg(near);
    throw JetError(QStringLiteral("SQL 语句有误：") + what + where);
}

namespace {

bool identStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool identPart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

std::vector<Token> Lexer::tokenize(const QString& sql) {
    std::vector<Token> out;
    const int n = int(sql.size());
    int i = 0;
    auto push = [&](Tok kind, QString text, int pos, bool bracketed = false) {
        Token t;
        t.kind = kind;
        t.text = std::move(text);
        t.pos = pos;
        t.bracketed = bracketed;
        out.push_back(std::move(t));
    };
    while (i < n) {
        const QChar c = sql[i];
        const int start = i;
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (identStart(c)) {
            while (i < n && identPart(sql[i]))
                ++i;
            push(Tok::Ident, sql.mid(start, i - start), start);
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            while (i < n && sql[i].isDigit())
                ++i;
            if (i < n && sql[i] == QLatin1Char('.')) {
                ++i;
                while (i < n && sql[i].isDigit())
                    ++i;
            }
            if (i < n && (sql[i] == QLatin1Char('e') || sql[i] == QLatin1Char('E'))) {
                int j = i + 1;
                if (j < n && (sql[j] == QLatin1Char('+') || sql[j] == QLatin1Char('-'))) ++j;
                if (j < n && sql[j].isDigit()) {
                    i = j;
                    while (i < n && sql[i].isDigit())
                        ++i;
                }
            }
            if (i < n && identStart(sql[i])) failAt(sql, start, QStringLiteral("数字后面紧跟着字母"));
            push(Tok::Number, sql.mid(start, i - start), start);
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside stands for one quote.
            QString value;
            ++i;
            for (;;) {
                if (i >= n) failAt(sql, start, QStringLiteral("文本常量缺少结尾的引号"));
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += sql[i++];
            }
            push(Tok::String, value, start);
            continue;
        }
        if (c == QLatin1Char('#')) {
            const int close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0) failAt(sql, start, QStringLiteral("日期常量缺少结尾的 #"));
            push(Tok::Date, sql.mid(i + 1, close - i - 1), start);
            i = close + 1;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const int close = sql.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) failAt(sql, start, QStringLiteral("名称缺少结尾的 ]"));
            if (close == i + 1) failAt(sql, start, QStringLiteral("空的名称 []"));
            push(Tok::Ident, sql.mid(i + 1, close - i - 1), start, true);
            i = close + 1;
            continue;
        }
        ++i;
        switch (c.unicode()) {
        case '(':
            push(Tok::LParen, QStringLiteral("("), start);
            break;
        case ')':
            push(Tok::RParen, QStringLiteral(")"), start);
            break;
        case ',':
            push(Tok::Comma, QStringLiteral(","), start);
            break;
        case '.':
            push(Tok::Dot, QStringLiteral("."), start);
            break;
        case ';':
            push(Tok::Semicolon, QStringLiteral(";"), start);
            break;
        case '<':
            if (i < n && (sql[i] == QLatin1Char('>') || sql[i] == QLatin1Char('='))) {
                push(Tok::Op, sql.mid(start, 2), start);
                ++i;
            } else {
                push(Tok::Op, QStringLiteral("<"), start);
            }
            break;
        case '>':
            if (i < n && sql[i] == QLatin1Char('=')) {
                push(Tok::Op, QStringLiteral(">="), start);
                ++i;
            } else {
                push(Tok::Op, QStringLiteral(">"), start);
            }
            break;
        case '+':
        case '-':
        case '*':
        case '/':
        case '\\':
        case '^':
        case '&':
        case '=':
            push(Tok::Op, QString(c), start);
            break;
        default:
            failAt(sql, start, QStringLiteral("无法识别的字符“%1”").arg(c));
        }
    }
    push(Tok::End, QString(), n);
    return out;
}

} // namespace jet
