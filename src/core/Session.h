#pragma once
// What the program shares for a whole run: the connection to the data file, the options,
// the role flags and the status text.
#include "core/MessageBoxes.h"
#include "core/Options.h"
#include "core/QueryResult.h"
#include "core/jet/Catalog.h"
#include "core/jet/Translator.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class FileDialogs;
class Printers;
class KeyScan;

using DbError = jet::JetError;
using FieldValues = std::vector<std::pair<QString, QVariant>>;

// Thrown by StopWithMessage: the program ends with this status once it reaches main.
struct ProgramStop {
    int exitCode = 1;
};

class Session {
public:
    // Without file dialogs (every question cancels) and without printers: the headless
    // commands, and tests that need neither.
    explicit Session(MessageBoxes& boxes);
    Session(MessageBoxes& boxes, FileDialogs& fileDialogs, Printers& printers);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Opens an existing data file for reading and writing. Throws DbError when the file is
    // missing, read-only, not a database, or lacks the ledger's tables.
    void open(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }
    jet::Catalog& catalog() { return *catalog_; }

    // Jet statements. Errors throw DbError; a failed statement changes nothing.
    void execSql(const QString& jetSql);
    const QueryResult& openQuery(const QString& jetSql); // becomes the shared result set
    QueryResult query(const QString& jetSql);            // a private result
    // Hands the statement's rows to the reader one at a time, read straight from the data
    // file; for lists of many rows. The rows are valid only inside the reader.
    void read(const QString& jetSql, const std::function<void(RowSource&)>& reader);
    // The statement's rows whose ID is one of these, in no particular order: the records of the
    // rows a long list shows. The statement must have an ID column.
    void readByIds(const QString& jetSql, const std::vector<qlonglong>& ids,
                   const std::function<void(RowSource&)>& reader);

    // Adds one row, field by field, with a parameterised INSERT; returns the new row's ID.
    // Dates may be given as QDate/QDateTime or "yyyy-m-d" text; Booleans as bool.
    qlonglong addRow(const QString& table, const FieldValues& fields);

    // Runs SQLite SQL directly (schema work, pragmas). Throws DbError.
    void execNative(const QString& sql);

    MessageBoxes& boxes() { return boxes_; }
    FileDialogs& fileDialogs() { return fileDialogs_; }
    Printers& printers() { return printers_; }

    // Transactions nest as savepoints, whose names must differ while they are open.
    int enterTransaction() { return ++transactionDepth_; }
    void leaveTransaction() { --transactionDepth_; }

    // Process-wide state of the run.
    Options options;
    bool admin = false;
    bool loggedIn = false;
    bool initUnlocked = false;
    QString logText;                                   // what the next AppendLog records
    QString statusText;                                // login outcome "Go"/"End", "初始化完成", ...
    std::function<void(const QString&)> statusBarHook; // set by the main window

private:
    friend class KeyScan;
    // Scans read on connections of their own. A write would wait for their read locks and
    // fail, so every write stops them first.
    void stopScans();
    sqlite3* takeReader(); // a read-only connection for a scan
    void returnReader(sqlite3* db);

    sqlite3_stmt* prepare(const std::string& sql);
    QueryResult run(const jet::Translation& t);
    void step(const jet::Translation& t, const std::function<void(RowSource&)>& reader);
    void finalizeAll();

    MessageBoxes& boxes_;
    std::unique_ptr<FileDialogs> ownFileDialogs_; // the stand-ins of a session without them
    std::unique_ptr<Printers> ownPrinters_;
    FileDialogs& fileDialogs_;
    Printers& printers_;
    sqlite3* db_ = nullptr;
    QString path_;
    std::unique_ptr<jet::Catalog> catalog_;
    std::unique_ptr<jet::Translator> translator_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
    QueryResult shared_;
    int transactionDepth_ = 0;
    std::vector<KeyScan*> scans_;
    sqlite3* idleReader_ = nullptr;
};

// The shared routines every window uses.
void ExecSql(Session& s, const QString& sql);
const QueryResult& OpenQuery(Session& s, const QString& sql);
void InsertRow(Session& s, const QString& table, const QString& columns, const QString& values);
void AppendLog(Session& s); // records s.logText
void AppendLog(Session& s, const QString& text);
bool AskYesNo(Session& s, const QString& prompt, const QString& title);
[[noreturn]] void StopWithMessage(Session& s, const QString& message);
void SetStatusText(Session& s, const QString& text);
