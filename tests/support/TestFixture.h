#pragma once
// A fresh data file in a fresh temporary folder, opened in a session whose message boxes,
// file dialogs and printers are scripted.
#include "core/FileDialogs.h"
#include "core/MessageBoxes.h"
#include "core/Session.h"
#include "report/ScriptedPrinters.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Session::addRow with the columns named in one comma-separated text, values in their order.
qlonglong addRowOf(Session& session, const QString& table, const QString& columns,
                   const QVariantList& values);

// A file's bytes; none when it cannot be read.
QByteArray fileBytes(const QString& path);

// What a command-line tool (pdftotext, unzip) writes to standard output, read as UTF-8.
QString toolOutput(const QString& program, const QStringList& arguments);

// Every cell of an xlsx file's first sheet as "A1=text", numbers and dates as "A1#value".
QStringList xlsxCells(const QString& xlsx);

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// One message box as shown: its kind, text and title.
void expectBox(const ScriptedMessageBoxes::Shown& b, ScriptedMessageBoxes::Kind kind, const QString& text,
               const QString& title);

// The form's control of that name; a failure when it has none.
template <class W = QLineEdit> W* child(QWidget& form, const QString& name) {
    W* w = form.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}
// Clicks the form's button cmdS(index).
void click(QWidget& form, int index);
// Closes the modal form about to be opened, once it shows.
void closeModalSoon();

class LedgerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    QString dataPath() const { return dir.filePath(QStringLiteral("DBvost.mdb")); }
    // The first column of the first row of a query, for checks.
    QVariant scalar(const QString& jetSql);
    // Every row of a query as the program shows its values: "|" between values, "," between rows;
    // a Null as `null`.
    QString rowsText(const QString& jetSql, const QString& null = {});
    // The operation log, oldest first.
    QStringList log();

    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs files;
    ScriptedPrinters printers; // prints into dir
    Session session{boxes, files, printers};
};

// Runs native SQL on another data file, in a session of its own.
void execOn(const QString& path, const QString& sql);
// Writes a file whole, by default 4 KB of junk, not a data file.
void writeFile(const QString& path, const QByteArray& content = QByteArray(4096, 'x'));
// Every row of native SQL as SQLite gives it, bypassing the Jet layer: "|" between values, Null
// as "NULL", floats to 17 digits with `exact` (so that any change shows); SQLite's message when
// the statement is refused or fails.
struct sqlite3;
QStringList sqliteRows(sqlite3* db, const QString& sql, bool exact = false);
// The same on the session's connection, "," between rows.
QString nativeRows(Session& session, const QString& sql);
