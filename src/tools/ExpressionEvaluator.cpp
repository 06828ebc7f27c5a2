#include "tools/ExpressionEvaluator.h"

#include "core/Vb.h"

#include <cmath>
#include <optional>
#include <vector>

namespace {

enum class Op { Add, Sub, Mul, Div, IntDiv, Mod, Pow, Neg, Plus };
enum class Fn { Abs, Sqr, Int, Fix, Round, Sgn, Sin, Cos, Tan, Atn, Exp, Log };

struct Function {
    const char* name;
    Fn fn;
    int minArgs;
    int maxArgs;
};

constexpr Function kFunctions[] = {
    {"Abs", Fn::Abs, 1, 1},     {"Sqr", Fn::Sqr, 1, 1}, {"Int", Fn::Int, 1, 1}, {"Fix", Fn::Fix, 1, 1},
    {"Round", Fn::Round, 1, 2}, {"Sgn", Fn::Sgn, 1, 1}, {"Sin", Fn::Sin, 1, 1}, {"Cos", Fn::Cos, 1, 1},
    {"Tan", Fn::Tan, 1, 1},     {"Atn", Fn::Atn, 1, 1}, {"Exp", Fn::Exp, 1, 1}, {"Log", Fn::Log, 1, 1},
};

const Function* findFunction(const QString& name) {
    for (const Function& f : kFunctions)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

// A sign binds tighter than ^, as in the script language: -2^2 is 4.
int precedence(Op op) {
    switch (op) {
    case Op::Neg:
    case Op::Plus:
        return 7;
    case Op::Pow:
        return 6;
    case Op::Mul:
    case Op::Div:
        return 4;
    case Op::IntDiv:
        return 3;
    case Op::Mod:
        return 2;
    case Op::Add:
    case Op::Sub:
        return 1;
    }
    return 0;
}

// One instruction of the checked expression, in postfix order.
struct Step {
    enum Kind { Number, Binary, Unary, Call } kind;
    double number = 0.0;
    Op op = Op::Add;
    const Function* function = nullptr;
    int args = 0;
    int position = 0; // 1-based
    int length = 0;   // of the operator or function name as typed, for messages
};

// An operator or an open bracket waiting on the stack while the text is read.
struct Waiting {
    enum Kind { Binary, Unary, Bracket, Call } kind;
    Op op = Op::Add;
    const Function* function = nullptr;
    int args = 0;
    int position = 0;
    int length = 0;
};

struct Failure {
    QString message;
    int position = 0;
};

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// What to type instead of a character the expression cannot hold, when there is an obvious one.
QString asciiFor(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E) // full-width forms of the ASCII signs and digits
        return QString(QChar(char16_t(u - 0xFEE0)));
    switch (u) {
    case 0x00D7: // ×
        return QStringLiteral("*");
    case 0x00F7: // ÷
        return QStringLiteral("/");
    case 0x3002: // 。
        return QStringLiteral(".");
    case 0x2014: // —
    case 0x2212: // −
        return QStringLiteral("-");
    default:
        return {};
    }
}

QString shownChar(const QString& text, int i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size()) return text.mid(i, 2);
    if (!c.isPrint()) return QStringLiteral("U+%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0')).toUpper();
    return QString(c);
}

class Parser {
public:
    explicit Parser(const QString& text) : text_(text), n_(int(text.size())) {}

    // Checks the whole text and turns it into postfix steps.
    std::optional<Failure> parse(std::vector<Step>& out) {
        bool expectOperand = true;
        bool anyToken = false;
        for (;;) {
            while (i_ < n_ && text_.at(i_).isSpace())
                ++i_;
            if (i_ >= n_) break;
            anyToken = true;
            const QChar c = text_.at(i_);
            const int pos = i_ + 1;

            if (isDigit(c) || (c == QLatin1Char('.') && i_ + 1 < n_ && isDigit(text_.at(i_ + 1)))) {
                if (!expectOperand) return missingOperator(pos, numberTextAt(i_));
                double value = 0.0;
                if (auto f = readNumber(value)) return f;
                out.push_back({Step::Number, value, Op::Add, nullptr, 0, pos, 0});
                expectOperand = false;
                continue;
            }
            if (c.isLetter() || c == QLatin1Char('_')) {
                const QString name = readName();
                const bool isMod = name.compare(QLatin1String("Mod"), Qt::CaseInsensitive) == 0;
                if (isMod) {
                    if (expectOperand) return missingOperand(pos, name);
                    reduceFor(Op::Mod, out);
                    waiting_.push_back({Waiting::Binary, Op::Mod, nullptr, 0, pos, int(name.size())});
                    expectOperand = true;
                    continue;
                }
                if (!expectOperand) return missingOperator(pos, name);
                const Function* fn = findFunction(name);
                if (!fn)
                    return Failure{
                        QStringLiteral("未知的名称“%1”（第 %2 个字符）。能用的函数有 Abs、Sqr、Int、"
                                       "Fix、Round、Sgn、Sin、Cos、Tan、Atn、Exp、Log。")
                            .arg(name)
                            .arg(pos),
                        pos};
                while (i_ < n_ && text_.at(i_).isSpace())
                    ++i_;
                if (i_ >= n_ || text_.at(i_) != QLatin1Char('('))
                    return Failure{
                        QStringLiteral("语法错误：第 %1 个字符的函数 %2 后面缺少“(”。").arg(pos).arg(name),
                        pos};
                ++i_;
                waiting_.push_back({Waiting::Call, Op::Add, fn, 1, pos, int(name.size())});
                continue;
            }

            ++i_;
            if (expectOperand) {
                if (c == QLatin1Char('-') || c == QLatin1Char('+')) {
                    waiting_.push_back(
                        {Waiting::Unary, c == QLatin1Char('-') ? Op::Neg : Op::Plus, nullptr, 0, pos, 1});
                    continue;
                }
                if (c == QLatin1Char('(')) {
                    waiting_.push_back({Waiting::Bracket, Op::Add, nullptr, 0, pos, 1});
                    continue;
                }
                const QString sign(c);
                if (QStringLiteral("*/\\^),").contains(c)) return missingOperand(pos, sign);
                if (c == QLatin1Char('.')) return badNumber(pos, sign);
                return badCharacter(pos - 1);
            }

            const QString sign(c);
            std::optional<Op> binary;
            switch (c.unicode()) {
            case u'+':
                binary = Op::Add;
                break;
            case u'-':
                binary = Op::Sub;
                break;
            case u'*':
                binary = Op::Mul;
                break;
            case u'/':
                binary = Op::Div;
                break;
            case u'\\':
                binary = Op::IntDiv;
                break;
            case u'^':
                binary = Op::Pow;
                break;
            default:
                break;
            }
            if (binary) {
                reduceFor(*binary, out);
                waiting_.push_back({Waiting::Binary, *binary, nullptr, 0, pos, 1});
                expectOperand = true;
                continue;
            }
            if (c == QLatin1Char(')')) {
                const Waiting* open = reduceToBracket(out);
                if (!open)
                    return Failure{
                        QStringLiteral("语法错误：第 %1 个字符的“)”是多余的，前面没有和它配对的“(”。")
                            .arg(pos),
                        pos};
                if (open->kind == Waiting::Call) {
                    const Function* fn = open->function;
                    if (open->args < fn->minArgs || open->args > fn->maxArgs) return wrongArgCount(*open);
                    out.push_back({Step::Call, 0.0, Op::Add, fn, open->args, open->position, open->length});
                }
                waiting_.pop_back();
                continue;
            }
            if (c == QLatin1Char(',')) {
                Waiting* open = reduceToBracket(out);
                if (!open || open->kind != Waiting::Call)
                    return Failure{
                        QStringLiteral("语法错误：第 %1 个字符的“,”只能用来分隔函数的参数。").arg(pos), pos};
                ++open->args;
                expectOperand = true;
                continue;
            }
            if (c == QLatin1Char('(')) return missingOperator(pos, sign);
            if (c == QLatin1Char('.')) return badNumber(pos, sign);
            return badCharacter(pos - 1);
        }

        if (!anyToken) return Failure{QStringLiteral("算式是空的，请先输入算式。"), 0};
        if (expectOperand) return Failure{QStringLiteral("语法错误：算式不完整，末尾缺少数字。"), n_};
        const Waiting* open = reduceToBracket(out);
        if (open)
            return Failure{QStringLiteral("缺少“)”：第 %1 个字符的“%2”没有和它配对的“)”。")
                               .arg(open->position)
                               .arg(open->kind == Waiting::Call ? signOf(*open) + QLatin1Char('(')
                                                                : QStringLiteral("(")),
                           open->position};
        return std::nullopt;
    }

private:
    // Moves to the output every waiting operator that binds at least as tightly as `op`
    // (all operators are left-associative; prefix signs never take a left operand).
    void reduceFor(Op op, std::vector<Step>& out) {
        while (!waiting_.empty()) {
            const Waiting& top = waiting_.back();
            if (top.kind != Waiting::Binary && top.kind != Waiting::Unary) break;
            if (precedence(top.op) < precedence(op)) break;
            emit(top, out);
            waiting_.pop_back();
        }
    }

    // Moves every operator up to the innermost open bracket to the output; that bracket
    // (left on the stack) or nullptr when none is open.
    Waiting* reduceToBracket(std::vector<Step>& out) {
        while (!waiting_.empty()) {
            Waiting& top = waiting_.back();
            if (top.kind == Waiting::Bracket || top.kind == Waiting::Call) return &top;
            emit(top, out);
            waiting_.pop_back();
        }
        return nullptr;
    }

    static void emit(const Waiting& w, std::vector<Step>& out) {
        out.push_back({w.kind == Waiting::Unary ? Step::Unary : Step::Binary, 0.0, w.op, nullptr, 0,
                       w.position, w.length});
    }

    QString signOf(const Waiting& w) const { return text_.mid(w.position - 1, w.length); }

    // digits [. digits] [E [+|-] digits], or . digits ...
    std::optional<Failure> readNumber(double& value) {
        const int start = i_;
        while (i_ < n_ && isDigit(text_.at(i_)))
            ++i_;
        if (i_ < n_ && text_.at(i_) == QLatin1Char('.')) {
            ++i_;
            while (i_ < n_ && isDigit(text_.at(i_)))
                ++i_;
        }
        if (i_ < n_ && (text_.at(i_) == QLatin1Char('e') || text_.at(i_) == QLatin1Char('E'))) {
            int j = i_ + 1;
            if (j < n_ && (text_.at(j) == QLatin1Char('+') || text_.at(j) == QLatin1Char('-'))) ++j;
            if (j < n_ && isDigit(text_.at(j))) {
                while (j < n_ && isDigit(text_.at(j)))
                    ++j;
                i_ = j;
            } else if (j >= n_ || !text_.at(j).isLetter()) {
                // "2E", "2E+": an exponent was begun but has no digits
                i_ = j;
                return badNumber(start + 1, text_.mid(start, i_ - start));
            }
        }
        // "1.2.3": a second decimal point belongs to the same mistyped number
        if (i_ < n_ && text_.at(i_) == QLatin1Char('.')) {
            while (i_ < n_ && (isDigit(text_.at(i_)) || text_.at(i_) == QLatin1Char('.')))
                ++i_;
            return badNumber(start + 1, text_.mid(start, i_ - start));
        }
        const QString digits = text_.mid(start, i_ - start);
        value = digits.toDouble(); // always "." as the decimal point; 0 when too small to hold
        if (!std::isfinite(value))
            return Failure{
                QStringLiteral("溢出：第 %1 个字符起的数字“%2”超出了数值范围。").arg(start + 1).arg(digits),
                start + 1};
        return std::nullopt;
    }

    QString readName() {
        const int start = i_;
        while (i_ < n_ && (text_.at(i_).isLetterOrNumber() || text_.at(i_) == QLatin1Char('_')))
            ++i_;
        return text_.mid(start, i_ - start);
    }

    QString numberTextAt(int i) const {
        int j = i;
        while (j < n_ && (isDigit(text_.at(j)) || text_.at(j) == QLatin1Char('.')))
            ++j;
        return text_.mid(i, j - i);
    }

    static Failure missingOperator(int pos, const QString& what) {
        return {QStringLiteral("语法错误：第 %1 个字符“%2”前面缺少运算符。").arg(pos).arg(what), pos};
    }
    static Failure missingOperand(int pos, const QString& what) {
        return {QStringLiteral("语法错误：第 %1 个字符“%2”前面缺少数字。").arg(pos).arg(what), pos};
    }
    static Failure badNumber(int pos, const QString& what) {
        return {QStringLiteral("语法错误：第 %1 个字符起的数字“%2”写法不对。").arg(pos).arg(what), pos};
    }
    Failure wrongArgCount(const Waiting& call) const {
        const Function* fn = call.function;
        const QString wanted = fn->minArgs == fn->maxArgs
                                   ? QString::number(fn->minArgs)
                                   : QStringLiteral("%1 或 %2").arg(fn->minArgs).arg(fn->maxArgs);
        return {QStringLiteral("语法错误：第 %1 个字符的函数 %2 要 %3 个参数，这里给了 %4 个。")
                    .arg(call.position)
                    .arg(signOf(call))
                    .arg(wanted)
                    .arg(call.args),
                call.position};
    }
    Failure badCharacter(int i) const {
        const QString shown = shownChar(text_, i);
        const QString instead = asciiFor(text_.at(i));
        if (!instead.isEmpty())
            return {QStringLiteral("语法错误：第 %1 个字符“%2”不能用在算式里，请改用半角的“%3”。")
                        .arg(i + 1)
                        .arg(shown, instead),
                    i + 1};
        return {QStringLiteral("语法错误：第 %1 个字符“%2”不能用在算式里。").arg(i + 1).arg(shown), i + 1};
    }

    const QString& text_;
    const int n_;
    int i_ = 0;
    std::vector<Waiting> waiting_;
};

// Computes the checked steps; messages quote the operator or function from the text.
class Machine {
public:
    explicit Machine(const QString& text) : text_(text) {}
    std::optional<Failure> run(const std::vector<Step>& steps, double& value);

private:
    std::optional<Failure> applyBinary(const Step& s, double a, double b, double& r) const;
    std::optional<Failure> applyFunction(const Step& s, const double* args, double& r) const;

    QString signOf(const Step& s) const { return text_.mid(s.position - 1, s.length); }
    Failure overflow(const Step& s) const {
        return {
            QStringLiteral("溢出：第 %1 个字符处“%2”的结果超出了数值范围。").arg(s.position).arg(signOf(s)),
            s.position};
    }
    Failure divisionByZero(const Step& s) const {
        return {QStringLiteral("被零除：第 %1 个字符处“%2”的除数是 0。").arg(s.position).arg(signOf(s)),
                s.position};
    }
    Failure invalidArgument(const Step& s, const QString& why) const {
        return {QStringLiteral("无效的参数：第 %1 个字符处“%2”%3。").arg(s.position).arg(signOf(s), why),
                s.position};
    }

    const QString& text_;
};

// \ and Mod work on whole numbers: the operand is rounded (halves to even) and must fit a Long.
std::optional<long long> wholeOperand(double x) {
    const double r = std::nearbyint(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<long long>(r);
}

std::optional<Failure> Machine::applyBinary(const Step& s, double a, double b, double& r) const {
    switch (s.op) {
    case Op::Add:
        r = a + b;
        break;
    case Op::Sub:
        r = a - b;
        break;
    case Op::Mul:
        r = a * b;
        break;
    case Op::Div:
        if (b == 0.0) return divisionByZero(s);
        r = a / b;
        break;
    case Op::Pow:
        if (a == 0.0 && b < 0.0) return divisionByZero(s);
        if (a < 0.0 && b != std::floor(b))
            return invalidArgument(s, QStringLiteral("不能求负数的非整数次方"));
        r = std::pow(a, b);
        break;
    case Op::IntDiv:
    case Op::Mod: {
        const auto x = wholeOperand(a);
        const auto y = wholeOperand(b);
        if (!x || !y)
            return Failure{QStringLiteral("溢出：第 %1 个字符处“%2”的运算数超出了整数范围（-2147483648 到 "
                                          "2147483647）。")
                               .arg(s.position)
                               .arg(signOf(s)),
                           s.position};
        if (*y == 0) return divisionByZero(s);
        const long long q = s.op == Op::IntDiv ? *x / *y : *x % *y;
        if (q > 2147483647LL) // -2147483648 \ -1
            return overflow(s);
        r = double(q);
        break;
    }
    case Op::Neg:
    case Op::Plus:
        break;
    }
    if (!std::isfinite(r)) return overflow(s);
    return std::nullopt;
}

std::optional<Failure> Machine::applyFunction(const Step& s, const double* args, double& r) const {
    const double x = args[0];
    switch (s.function->fn) {
    case Fn::Abs:
        r = std::fabs(x);
        break;
    case Fn::Sqr:
        if (x < 0.0) return invalidArgument(s, QStringLiteral("不能对负数开平方"));
        r = std::sqrt(x);
        break;
    case Fn::Int:
        r = std::floor(x);
        break;
    case Fn::Fix:
        r = std::trunc(x);
        break;
    case Fn::Round: {
        double places = 0.0;
        if (s.args == 2) places = std::nearbyint(args[1]);
        if (places < 0.0) return invalidArgument(s, QStringLiteral("的小数位数不能是负数"));
        if (x == 0.0 || places > 308.0)
            r = x;
        else
            r = vb::Round(x, int(places));
        break;
    }
    case Fn::Sgn:
        r = x > 0.0 ? 1.0 : (x < 0.0 ? -1.0 : 0.0);
        break;
    case Fn::Sin:
        r = std::sin(x);
        break;
    case Fn::Cos:
        r = std::cos(x);
        break;
    case Fn::Tan:
        r = std::tan(x);
        break;
    case Fn::Atn:
        r = std::atan(x);
        break;
    case Fn::Exp:
        r = std::exp(x);
        break;
    case Fn::Log:
        if (x <= 0.0) return invalidArgument(s, QStringLiteral("的参数必须大于 0"));
        r = std::log(x);
        break;
    }
    if (!std::isfinite(r)) return overflow(s);
    return std::nullopt;
}

std::optional<Failure> Machine::run(const std::vector<Step>& steps, double& value) {
    std::vector<double> stack;
    stack.reserve(steps.size());
    // The parser only lets well-formed expressions through; the size checks below keep a
    // fault there from ever reading outside the stack.
    const Failure broken{QStringLiteral("语法错误：算式无法计算。"), 0};
    for (const Step& s : steps) {
        switch (s.kind) {
        case Step::Number:
            stack.push_back(s.number);
            break;
        case Step::Unary:
            if (stack.empty()) return broken;
            if (s.op == Op::Neg) stack.back() = -stack.back();
            break;
        case Step::Binary: {
            if (stack.size() < 2) return broken;
            const double b = stack.back();
            stack.pop_back();
            double r = 0.0;
            if (auto f = applyBinary(s, stack.back(), b, r)) return f;
            stack.back() = r;
            break;
        }
        case Step::Call: {
            if (s.args < 1 || s.args > 2 || stack.size() < size_t(s.args)) return broken;
            double r = 0.0;
            if (auto f = applyFunction(s, stack.data() + stack.size() - s.args, r)) return f;
            stack.resize(stack.size() - s.args);
            stack.push_back(r);
            break;
        }
        }
    }
    if (stack.size() != 1) return broken;
    value = stack.back() == 0.0 ? 0.0 : stack.back(); // no "-0"
    return std::nullopt;
}

} // namespace

QString ExpressionEvaluator::Result::text() const {
    return ok ? vb::CStr(value) : QString();
}

ExpressionEvaluator::Result ExpressionEvaluator::evaluate(const QString& expression) {
    Result result;
    std::vector<Step> steps;
    Parser parser(expression);
    std::optional<Failure> failure = parser.parse(steps);
    if (!failure) failure = Machine(expression).run(steps, result.value);
    if (failure) {
        result.error = failure->message;
        result.position = failure->position;
        result.value = 0.0;
        return result;
    }
    result.ok = true;
    return result;
}
