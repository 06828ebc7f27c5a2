#pragma once
// Evaluates an arithmetic expression typed as text, in the arithmetic of the old script
// language the calculator was built on: decimal numbers (1.5E3 too), + - * /, ^, integer
// division \, Mod, unary signs, round brackets to any depth and the numeric functions
// Abs Sqr Int Fix Round Sgn Sin Cos Tan Atn Exp Log (names and Mod in any letter case).
//
// Precedence, tightest first: unary - + ; ^ ; * / ; \ ; Mod ; + -. So -2^2 is 4, 2*-3^2 is
// 18 and 2^-1 is 0.5. \ and Mod round their operands to whole numbers (halves to even) first.
//
// The text is first checked as a whole, then computed, so a syntax error anywhere is
// reported before an error of computation. Nothing recurses: bracket depth is bounded only
// by the length of the text.
#include <QString>

class ExpressionEvaluator {
public:
    struct Result {
        bool ok = false;
        double value = 0.0;
        QString error;        // readable Chinese description when !ok
        int position = 0;     // 1-based character the error refers to; 0 when none
        QString text() const; // the value in the general number form
    };

    static Result evaluate(const QString& expression);
};
