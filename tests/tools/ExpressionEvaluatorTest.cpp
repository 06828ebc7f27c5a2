#include "tools/ExpressionEvaluator.h"
#include "support/TestFixture.h"

namespace {

QString valueOf(const QString& expression) {
    const auto r = ExpressionEvaluator::evaluate(expression);
    return r.ok ? r.text() : QStringLiteral("error: ") + r.error;
}

} // namespace

// Its numbers are rounded and written as VbTest checks.
TEST(ExpressionEvaluator, ArithmeticPrecedenceAndTheScriptLanguagesRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"( 2.3 + 7.3 * ( (3+3.7)*4/2 + 4.2 ) ) * 4.4 - 7.3", "568.132"},
        {"1/3", "0.333333333333333"},
        {"2^3^2", "64"}, // left to right
        {"-2^2", "4"},   // the sign binds tighter than ^
        {"2*-3^2", "18"},
        {"2^-1", "0.5"},
        {"7.5\\2", "4"}, // operands rounded first, halves to even: 8 \ 2
        {"6.5\\2", "3"}, // 6 \ 2
        {"7 MOD -3", "1"},
        {"-2147483648 Mod -1", "0"},
        {"1.5e-3", "0.0015"},
        {".5+5.", "5.5"},
        {"1E-400", "0"},
        {"  ( 1 + 2 )\t* 3  ", "9"},
        {"1\u3000+\u30002", "3"}, // an ideographic space is a blank too
        {"SQR (16)", "4"},
        {"Round(2.5)", "2"},
        {"Round(1234.5678, 2.4)", "1234.57"},
        {"Exp(0)+Sin(0)+Cos(0)+Tan(0)", "2"},
        {"Log(Exp(2))", "2"},
        {"Atn(1)*4", "3.14159265358979"},
        {"Sqr(Abs(-16))+Round(Int(7.9)/2)", "8"},
        {"-0*5", "0"},
        // Each level against the next, and left to right within a level: + - ; Mod ; \ ; * / ; ^.
        {"1+5 Mod 3", "3"},
        {"7 Mod 6\\2", "1"},
        {"9/3\\2", "1"},
        {"2*3^2", "18"},
        {"8/4/2", "1"},
        {"Int(-2.5)*10+Fix(-2.5)", "-32"},
        {"Sgn(-3)*10+Sgn(0)+Sgn(0.1)*100", "90"},
    };
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(valueOf(QString::fromUtf8(expression)), QString::fromUtf8(expected)) << expression;
}

TEST(ExpressionEvaluator, ErrorsAreDescribedWithWhereTheyAre) {
    struct Case {
        const char* expression;
        const char* says;
        int position;
    };
    const Case cases[] = {
        {"1/0", "被零除", 2},
        {"5\\0.4", "被零除", 2}, // 0.4 is rounded to 0 first
        {"0^-1", "被零除", 2},
        {"", "算式是空的", 0},
        {"1+", "末尾缺少数字", 2},
        {"2 Mod", "末尾缺少数字", 5},
        {"*3", "第 1 个字符“*”前面缺少数字", 1},
        {"()", "第 2 个字符“)”前面缺少数字", 2},
        {"Mod 3", "“Mod”前面缺少数字", 1},
        {"2 3", "第 3 个字符“3”前面缺少运算符", 3},
        {"2(3)", "前面缺少运算符", 2},
        {"(1+2", "缺少“)”：第 1 个字符的“(”", 1},
        {"Abs(1+(2)", "第 1 个字符的“Abs(”", 1},
        {"1+2)", "第 4 个字符的“)”是多余的", 4},
        {"abc", "未知的名称“abc”", 1},
        {"2+单价", "未知的名称“单价”（第 3 个字符）", 3},
        {"Sqr 4", "函数 Sqr 后面缺少“(”", 1},
        {"Sqr(1,2)", "函数 Sqr 要 1 个参数，这里给了 2 个", 1},
        {"1+Round(1,2,3)", "函数 Round 要 1 或 2 个参数，这里给了 3 个", 3},
        {"1,2", "“,”只能用来分隔函数的参数", 2},
        {"1.2.3", "数字“1.2.3”写法不对", 1},
        {"3*1E+", "数字“1E+”写法不对", 3},
        {"\uff11+2", "请改用半角的“1”", 1},
        {"2\u00d73", "请改用半角的“*”", 2},
        {"2&3", "第 2 个字符“&”不能用在算式里", 2},
        {"1\x01", "“U+0001”", 2},
        {"1e999", "溢出", 1},
        {"1E308*10", "溢出：第 6 个字符处“*”", 6},
        {"Exp(1000)", "溢出：第 1 个字符处“Exp”", 1},
        {"3000000000\\2", "超出了整数范围", 11},
        {"-2147483648\\-1", "溢出", 12},
        {"Sqr(-1)", "不能对负数开平方", 1},
        {"Log(0)", "Log”的参数必须大于 0", 1},
        {"(-8)^(1/3)", "负数的非整数次方", 5},
        {"Round(2,-1)", "小数位数不能是负数", 1},
        {"1/0+(", "末尾缺少数字", 5}, // the whole text is checked before anything is computed
    };
    for (const Case& c : cases) {
        const auto r = ExpressionEvaluator::evaluate(QString::fromUtf8(c.expression));
        EXPECT_FALSE(r.ok) << c.expression;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.says)))
            << c.expression << " -> " << r.error.toStdString();
        EXPECT_EQ(r.position, c.position) << c.expression << " -> " << r.error.toStdString();
    }
}

TEST(ExpressionEvaluator, BracketDepthIsLimitedOnlyByTheText) {
    const int depth = 100000;
    const QString open(depth, QLatin1Char('('));
    const QString close(depth, QLatin1Char(')'));
    EXPECT_EQ(valueOf(open + QStringLiteral("1+2") + close), "3");
    EXPECT_FALSE(ExpressionEvaluator::evaluate(open).ok);
    EXPECT_FALSE(ExpressionEvaluator::evaluate(open + QStringLiteral("1")).ok);
    EXPECT_FALSE(ExpressionEvaluator::evaluate(QStringLiteral("1") + close).ok);
    EXPECT_EQ(valueOf(QString(depth, QLatin1Char('-')) + QStringLiteral("1")), "1");
    EXPECT_EQ(valueOf(QStringLiteral("Abs(").repeated(depth) + QStringLiteral("-7") + close), "7");
}

// Noise never crashes: fuzz/expression.cpp.
TEST(ExpressionEvaluator, SpoiledTextsAlwaysGiveAnError) {
    // A bracket too many, or a character that has no place in an expression, anywhere in a
    // valid one: always an error, and its position within the text.
    const QStringList good = {"( 2.3 + 7.3 * ( (3+3.7)*4/2 + 4.2 ) ) * 4.4 - 7.3", "Round(1234.5678, 2)",
                              "7 mod -3", ".5e1\\2", "-Abs(-2)"};
    const QString spoilers = QStringLiteral("()#$%&@!?;:[]{}<>=~`'\"，。（）＋");
    for (const QString& g : good) {
        ASSERT_TRUE(ExpressionEvaluator::evaluate(g).ok) << g.toStdString();
        for (qsizetype at = 0; at <= g.size(); ++at)
            for (const QChar c : spoilers) {
                const QString bad = QString(g).insert(at, c);
                const auto r = ExpressionEvaluator::evaluate(bad);
                ASSERT_FALSE(r.ok || r.error.isEmpty()) << bad.toStdString();
                ASSERT_TRUE(r.position >= 0 && r.position <= bad.size()) << bad.toStdString();
            }
    }
}
