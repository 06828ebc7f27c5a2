#pragma once
// The sheet of the budget calculator: a column of numbers, each with the operator that joins
// it to the running result, and the running result after every step. Row 0 is the header;
// the last row is the pending row where the next number is typed, and it is never computed.
// The steps apply strictly from top to bottom, with no precedence.
#include <QString>
#include <array>
#include <vector>

class BudgetSheet {
public:
    enum Column { RowNumberColumn = 0, OperatorColumn = 1, InputColumn = 2, ResultColumn = 3 };
    static constexpr int kColumns = 4;
    static constexpr int kStartRows = 26; // the header and 25 entry rows

    // What an edit did to the sheet, so the window knows what to refresh.
    enum class Edit { Ignored, Computed, PendingRowAdded, PendingRowRemoved };

    BudgetSheet();

    int rows() const { return int(cells_.size()); }
    int pendingRow() const { return rows() - 1; }
    QString cell(int row, int column) const;
    static QString header(int column);

    // Empty sheet of 26 rows, entry rows numbered.
    void reset();

    // The in-place editor's text changed while it stood on (row, column): checks and writes
    // the cell, looks after the pending row and recomputes.
    Edit edit(int row, int column, const QString& editorText);

    // Running results from row 1 down, stopping at the first row without a number.
    void compute();

    // 10 + 20 + 30 + 40 - 50 + 60 + 70 * 80 + 90 + 100 in rows 1..10.
    void loadExample();

private:
    void setCell(int row, int column, const QString& text) { cells_[size_t(row)][size_t(column)] = text; }
    void appendRow();

    std::vector<std::array<QString, kColumns>> cells_;
};
