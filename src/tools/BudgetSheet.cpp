#include "tools/BudgetSheet.h"

#include "core/Vb.h"

#include <cmath>

namespace {

const QString kZero = QStringLiteral("0");

bool isOperator(const QString& text) {
    return text == QLatin1String("+") || text == QLatin1String("-") || text == QLatin1String("*") ||
           text == QLatin1String("/");
}

} // namespace

BudgetSheet::BudgetSheet() {
    reset();
}

QString BudgetSheet::cell(int row, int column) const {
    if (row < 0 || row >= rows() || column < 0 || column >= kColumns) return {};
    return cells_[size_t(row)][size_t(column)];
}

QString BudgetSheet::header(int column) {
    switch (column) {
    case InputColumn:
        return QStringLiteral("输入数据");
    case ResultColumn:
        return QStringLiteral("每一步运算结果");
    default:
        return {};
    }
}

void BudgetSheet::reset() {
    cells_.assign(size_t(kStartRows), {});
    for (int c = 0; c < kColumns; ++c)
        setCell(0, c, header(c));
    for (int r = 1; r < kStartRows; ++r)
        setCell(r, RowNumberColumn, QString::number(r));
}

void BudgetSheet::appendRow() {
    setCell(pendingRow(), RowNumberColumn, QString::number(pendingRow()));
    cells_.push_back({});
}

BudgetSheet::Edit BudgetSheet::edit(int row, int column, const QString& editorText) {
    if (row < 1 || row >= rows() || (column != OperatorColumn && column != InputColumn)) return Edit::Ignored;
    if (column == OperatorColumn) {
        // Row 1 starts from 0, so its operator is always an addition.
        if (row == 1 || !isOperator(editorText)) return Edit::Ignored;
        setCell(row, column, editorText);
    } else {
        double value = vb::Val(editorText);
        if (!std::isfinite(value)) // "1e999" is as unreadable as a letter
            value = 0.0;
        setCell(row, column, vb::CStr(value));
    }

    // An empty operator means "+", and a division by zero is never computed.
    const QString op = cell(row, OperatorColumn);
    if (op.isEmpty() || (op == QLatin1String("/") && cell(row, InputColumn) == kZero))
        setCell(row, OperatorColumn, QStringLiteral("+"));

    Edit outcome = Edit::Computed;
    const bool zero = cell(row, InputColumn) == kZero;
    if (row < pendingRow()) {
        // A 0 typed just above the pending row takes the sheet back by one row.
        if (row == pendingRow() - 1 && zero) {
            setCell(row, ResultColumn, {});
            cells_.pop_back();
            outcome = Edit::PendingRowRemoved;
        }
    } else if (zero) {
        setCell(row, ResultColumn, {});
    } else {
        appendRow();
        outcome = Edit::PendingRowAdded;
    }
    compute();
    return outcome;
}

void BudgetSheet::compute() {
    double result = 0.0;
    bool overflowed = false;
    for (int r = 1; r < pendingRow(); ++r) {
        const QString number = cell(r, InputColumn);
        if (number.isEmpty()) break;
        const double x = vb::Val(number);
        const QString op = cell(r, OperatorColumn);
        if (op.isEmpty() || op == QLatin1String("+"))
            result += x;
        else if (op == QLatin1String("-"))
            result -= x;
        else if (op == QLatin1String("*"))
            result *= x;
        else if (op == QLatin1String("/"))
            result /= x;
        else
            result = 0.0;
        // Every result below an overflow derives from it, so none of them is a number either.
        overflowed = overflowed || !std::isfinite(result);
        setCell(r, ResultColumn, overflowed ? QStringLiteral("溢出") : vb::CStr(result));
    }
}

void BudgetSheet::loadExample() {
    // Rows 1..10 and a pending row below them must exist, however far the sheet has shrunk.
    while (rows() < 12)
        appendRow();
    for (int i = 1; i <= 10; ++i) {
        setCell(i, InputColumn, QString::number(i * 10));
        if (i >= 2) setCell(i, OperatorColumn, QStringLiteral("+"));
    }
    setCell(5, OperatorColumn, QStringLiteral("-"));
    setCell(8, OperatorColumn, QStringLiteral("*"));
    compute();
}
