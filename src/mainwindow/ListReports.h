#pragma once
// Printing and export of the lists: the printed reports of the stock ledger, the sales and the
// purchases (staged in T_Print1 and read back), and any list as PDF, Excel or CSV. The main
// window and the export command both go through here. No widgets.
#include "core/Records.h"
#include "report/Report.h"
#include "ui/ListColumn.h"
#include "ui/RecordTableModel.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Session;

namespace listreports {

// The lists: the main window's five views by tab index, then the customers of the customer form.
inline constexpr int kCustomers = 5;
inline constexpr int kListCount = 6;

enum class Format { Pdf, Xlsx, Csv };

// One row of a list: the cells as the list shows them (the row number first), and the texts a
// print stages for it in TB1, TB2, ... (none for a list without a print).
using RowVisitor = std::function<void(const QStringList& cells, const QStringList& printed)>;

// A list as shown: its columns and every row in list order.
struct ShownList {
    int kind = 0;
    std::vector<ListColumn> columns;
    int rowCount = 0;
    std::function<void(const RowVisitor&)> forEachRow;
};

// What a print stages for a row, taken from the row's cells (so hidden money stays hidden)
// and, for the partner label, from its record.
QStringList printedTexts(const GoodsRecord& r, const QStringList& cells);
QStringList printedTexts(const SaleRecord& r, const QStringList& cells);
QStringList printedTexts(const PurchaseRecord& r, const QStringList& cells);
template <class Record> QStringList printedTexts(const Record&, const QStringList&) {
    return {};
}

// The list a model shows; the model must outlive the result.
template <class Record> ShownList shownList(int kind, const RecordTableModel<Record>& model) {
    ShownList list{kind, {}, model.rowCount(), {}};
    for (int c = 0; c < model.columnCount(); ++c)
        list.columns.push_back({model.headerData(c, Qt::Horizontal).toString(),
                                {},
                                model.headerData(c, Qt::Horizontal, listroles::TwipsRole).toInt()});
    list.forEachRow = [&model](const RowVisitor& visit) {
        model.forEachRow(
            [&](const Record& r, const QStringList& cells) { visit(cells, printedTexts(r, cells)); });
    };
    return list;
}

// The stock ledger, the sales and the purchases have a printed report.
bool printable(int kind);
// The report's title: the list's name spaced out, or the keyword the list was searched for.
QString title(int kind, const QString& keyword);
// A file name to propose for the list's export, without folder.
QString fileName(int kind, Format format);

// The check before a print: with no printer installed says so and returns false; a printer
// without A4 paper in portrait only gets a warning naming it.
bool printerReady(Session& session);

// The printed report of a printable list: T_Print1 emptied, filled with one row per list row
// and read back in the order written, in one transaction. Throws DbError (nothing staged).
Report printedReport(Session& session, const ShownList& list, const QString& keyword,
                     const QDateTime& printTime);
// The list as exported: every column it shows with its heading, a cell holding several numbers
// split into a column each, so that a spreadsheet reads numbers. The rows are held in the
// report (its pages need them), or with `streamed` read from the list as the report is
// written (xlsx and CSV of a long list); the list must then outlive the report.
Report listReport(const ShownList& list, const QString& keyword, const QDateTime& printTime,
                  bool streamed = false);

// Writes the list to the file: a PDF of the printed report where the list has one, else of
// the list; xlsx and CSV of the list. Returns an empty text, or what went wrong.
QString exportList(Session& session, const ShownList& list, const QString& keyword, Format format,
                   const QString& path);

// Loads the list the main window (or the customer form) shows for the kind, the first view
// without a search and the keyword search (without a row limit) with one, and hands it to
// `use`. A search's list holds only its rows' IDs; their texts are read as they are used.
// Throws DbError.
void withList(Session& session, int kind, const std::optional<QString>& search,
              const std::function<void(const ShownList&)>& use);

} // namespace listreports
