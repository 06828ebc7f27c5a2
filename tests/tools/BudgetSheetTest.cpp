#include "tools/BudgetSheet.h"
#include "support/TestFixture.h"

#include <QStringList>

namespace {

using Edit = BudgetSheet::Edit;
constexpr int Op = BudgetSheet::OperatorColumn;
constexpr int In = BudgetSheet::InputColumn;
constexpr int Res = BudgetSheet::ResultColumn;

QStringList column(const BudgetSheet& s, int c, int from, int to) {
    QStringList out;
    for (int r = from; r <= to; ++r)
        out << s.cell(r, c);
    return out;
}

// A row as shown: number, operator, input, result.
QString line(const BudgetSheet& s, int r) {
    return QStringList{s.cell(r, 0), s.cell(r, Op), s.cell(r, In), s.cell(r, Res)}.join('|');
}

// Zeroing the row just above the pending row, from the bottom up, leaves only row 1 (pending).
void shrinkToOneRow(BudgetSheet& s) {
    while (s.rows() > 2)
        ASSERT_EQ(s.edit(s.rows() - 2, In, QStringLiteral("0")), Edit::PendingRowRemoved);
}

} // namespace

TEST(BudgetSheet, ExampleComputesTopToBottomWithoutPrecedence) {
    BudgetSheet s;
    s.edit(12, In, QStringLiteral("7"));      // beyond the example: left alone
    for (int round = 0; round < 2; ++round) { // loading it twice gives the same
        s.loadExample();
        EXPECT_EQ(column(s, Res, 1, 10),
                  (QStringList{"10", "30", "60", "100", "50", "110", "180", "14400", "14490", "14590"}));
        EXPECT_EQ(column(s, Op, 1, 10), (QStringList{"", "+", "+", "+", "-", "+", "+", "*", "+", "+"}));
        EXPECT_EQ(line(s, 12), "12|+|7|"); // a gap (row 11) stops the computation
    }
    EXPECT_EQ(s.rows(), 26);
    s.edit(11, In, QStringLiteral("10"));
    EXPECT_EQ(column(s, Res, 11, 12), (QStringList{"14600", "14607"}));
    // Changing a number higher up changes every result below it at once.
    s.edit(8, In, QStringLiteral("2"));
    EXPECT_EQ(column(s, Res, 7, 12), (QStringList{"180", "360", "450", "550", "560", "567"}));
    s.reset(); // empty and numbered again
    EXPECT_EQ(s.rows(), 26);
    EXPECT_EQ(line(s, 0) + "," + line(s, 12), "||输入数据|每一步运算结果,12|||");
}

TEST(BudgetSheet, PendingRowGrowsAndShrinks) {
    BudgetSheet s;
    // Typing 5 into the pending row numbers it, appends an unnumbered pending row, computes the 5.
    shrinkToOneRow(s);
    EXPECT_EQ(s.rows(), 2);
    EXPECT_EQ(s.edit(1, In, QStringLiteral("5")), Edit::PendingRowAdded);
    ASSERT_EQ(s.rows(), 3);
    EXPECT_EQ(QString(line(s, 1) + "," + line(s, 2)), "1|+|5|5,|||");
    EXPECT_EQ(s.edit(2, In, QStringLiteral("7")), Edit::PendingRowAdded);
    EXPECT_EQ(s.cell(2, Res), "12");
    // A 0 just above the pending row removes the pending row and empties its own result.
    EXPECT_EQ(s.edit(2, In, QStringLiteral("0")), Edit::PendingRowRemoved);
    EXPECT_EQ(s.rows(), 3);
    EXPECT_EQ(column(s, Res, 1, 2), (QStringList{"5", ""}));
    // A 0 in the pending row itself adds nothing; a 0 further up is an ordinary number.
    EXPECT_EQ(s.edit(2, In, QStringLiteral("0")), Edit::Computed);
    EXPECT_EQ(s.rows(), 3);
    s.reset();
    EXPECT_EQ(s.edit(3, In, QStringLiteral("0")), Edit::Computed);
    EXPECT_EQ(s.rows(), 26);

    // An operator typed into the pending row grows the sheet before any number is there.
    s.reset();
    EXPECT_EQ(s.edit(25, Op, QStringLiteral("-")), Edit::PendingRowAdded);
    EXPECT_EQ(s.rows(), 27);
    EXPECT_EQ(line(s, 25), "25|-||");

    // The example still has its ten rows and a pending row after the sheet shrank to one row.
    shrinkToOneRow(s);
    s.loadExample();
    EXPECT_EQ(s.rows(), 12);
    EXPECT_EQ(line(s, 10), "10|+|100|14590");
}

TEST(BudgetSheet, EditRules) {
    BudgetSheet s;
    s.loadExample();
    // Row 1 starts from 0; its operator cannot be changed.
    EXPECT_EQ(s.edit(1, Op, QStringLiteral("*")), Edit::Ignored);
    EXPECT_EQ(s.cell(1, Op), "");
    // Only a whole "+", "-", "*" or "/" is an operator; anything else keeps the old one.
    for (const char* bad : {"x", "++", "", " *", "÷"})
        EXPECT_EQ(s.edit(3, Op, QString::fromUtf8(bad)), Edit::Ignored) << bad;
    EXPECT_EQ(s.cell(3, Op), "+");
    EXPECT_EQ(s.edit(3, Op, QStringLiteral("*")), Edit::Computed);
    EXPECT_EQ(s.cell(3, Res), "900");
    // Row numbers and results are never edited.
    for (const auto& [row, col] : {std::pair(3, 0), std::pair(3, Res), std::pair(0, In)})
        EXPECT_EQ(s.edit(row, col, QStringLiteral("9")), Edit::Ignored) << row << "," << col;

    // A number cell holds the number the text starts with; anything unreadable is 0.
    const std::pair<const char*, const char*> numbers[] = {{"abc", "0"}, {" 3.50kg", "3.5"}, {"1e999", "0"}};
    for (const auto& [typed, stored] : numbers) {
        s.edit(12, In, QString::fromUtf8(typed));
        EXPECT_EQ(s.cell(12, In), stored) << typed;
    }

    // Editing a row gives its empty operator the "+"; a "/" meeting a 0 becomes "+" either way round.
    s.edit(1, In, QStringLiteral("10"));
    EXPECT_EQ(s.cell(1, Op), "+");
    s.edit(4, In, QStringLiteral("0"));
    s.edit(4, Op, QStringLiteral("/"));
    EXPECT_EQ(s.cell(4, Op), "+");
    s.edit(6, Op, QStringLiteral("/"));
    EXPECT_EQ(s.cell(6, Op), "/");
    s.edit(6, In, QStringLiteral("0"));
    EXPECT_EQ(s.cell(6, Op), "+");
}

TEST(BudgetSheet, OverflowIsShownNotComputedOn) {
    BudgetSheet s;
    s.loadExample();
    s.edit(2, In, QStringLiteral("1e300"));
    s.edit(3, Op, QStringLiteral("*"));
    s.edit(3, In, QStringLiteral("1e300"));
    EXPECT_EQ(s.cell(2, Res), "1E+300");
    EXPECT_EQ(column(s, Res, 3, 10), QStringList(8, QStringLiteral("溢出")));
    s.edit(3, In, QStringLiteral("2"));
    EXPECT_EQ(s.cell(10, Res), "1.6E+302");
}
