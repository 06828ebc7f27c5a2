#include "core/Session.h"

#include "core/FileDialogs.h"
#include "core/KeyScan.h"
#include "core/Printers.h"
#include "core/SqliteReason.h"
#include "core/StatementRows.h"
#include "core/Vb.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

// Counting every allocation for SQLite's memory statistics takes a global lock each time;
// nothing here reads them. Set before the library is first used.
const bool kNoMemoryStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;

// Binds a value for a column of the given Jet type, as the data file stores it.
void bindValue(sqlite3_stmt* st, int index, const QVariant& v, jet::JetType type) {
    if (v.isNull() || !v.isValid()) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (type) {
    case jet::JetType::Boolean:
        sqlite3_bind_int(st, index,
                         vb::Number(v) != 0.0 || (v.typeId() == QMetaType::Bool && v.toBool()) ? -1 : 0);
        return;
    case jet::JetType::Date: {
        QDateTime dt;
        if (v.typeId() == QMetaType::QDate)
            dt = QDateTime(v.toDate(), QTime(0, 0));
        else if (v.typeId() == QMetaType::QDateTime)
            dt = v.toDateTime();
        else
            dt = vb::ParseDateTime(v.toString());
        if (!dt.isValid()) throw DbError(QStringLiteral("日期格式不正确：%1").arg(v.toString()));
        const QString iso = dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                                     : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QByteArray b = iso.toUtf8();
        sqlite3_bind_text(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    case jet::JetType::Long:
    case jet::JetType::Integer:
        sqlite3_bind_int64(st, index, qlonglong(vb::Number(v)));
        return;
    case jet::JetType::Double:
        sqlite3_bind_double(st, index, vb::Number(v));
        return;
    default: {
        const QByteArray b = vb::Text(v).toUtf8();
        sqlite3_bind_text(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    }
}

// A session without windows asks no file questions and knows no printer.
class NoFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFileName(const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        return {};
    }
};

class NoPrinters : public Printers {
public:
    std::vector<PrinterInfo> available() override { return {}; }
    std::optional<PrinterInfo> defaultPrinter() override { return {}; }
    bool print(const QString&, const QString&, const PagePainter&) override { return false; }
};

} // namespace

Session::Session(MessageBoxes& boxes)
    : boxes_(boxes), ownFileDialogs_(std::make_unique<NoFileDialogs>()),
      ownPrinters_(std::make_unique<NoPrinters>()), fileDialogs_(*ownFileDialogs_), printers_(*ownPrinters_) {
}

Session::Session(MessageBoxes& boxes, FileDialogs& fileDialogs, Printers& printers)
    : boxes_(boxes), fileDialogs_(fileDialogs), printers_(printers) {}

Session::~Session() {
    close();
}

void Session::finalizeAll() {
    for (auto& [sql, st] : statements_)
        sqlite3_finalize(st);
    statements_.clear();
}

void Session::close() {
    // A scan still running is stopped and left to close its own connection.
    stopScans();
    for (KeyScan* scan : scans_)
        scan->session_ = nullptr;
    scans_.clear();
    if (idleReader_) sqlite3_close_v2(idleReader_);
    idleReader_ = nullptr;
    if (!db_) return;
    finalizeAll();
    translator_.reset();
    catalog_.reset();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Session::open(const QString& path) {
    close();
    const QString fail = QStringLiteral("无法打开数据文件 %1").arg(path);
    if (!QFileInfo(path).isFile()) throw DbError(fail + QStringLiteral("：文件不存在"));
    sqlite3* db = nullptr;
    // One thread uses the connection: SQLite's locking of it would only cost time.
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = db ? SqliteReason(db) : QStringLiteral("内存不足");
        sqlite3_close_v2(db);
        throw DbError(fail + QStringLiteral("：") + why);
    }
    auto reject = [&](const QString& why) {
        sqlite3_close_v2(db);
        throw DbError(fail + QStringLiteral("：") + why);
    };
    if (sqlite3_db_readonly(db, "main") == 1) reject(QStringLiteral("文件只读"));
    // A file that is not a database only shows itself on the first read. A search reads every
    // movement with its goods and partners: ten years of a shop fit in a 64 MB page cache, the
    // default 2 MB would send most reads back to the disk.
    if (sqlite3_exec(db,
                     "PRAGMA synchronous=FULL; PRAGMA cache_size=-65536; SELECT count(*) FROM sqlite_master;",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        reject(SqliteReason(db));
    db_ = db;
    path_ = path;
    catalog_ = std::make_unique<jet::Catalog>(db_);
    for (const char* table : {"T_TZ", "T_IO", "T_KH", "T_KH_XQ", "T_GYS", "T_Option", "T_Key", "T_txt"}) {
        QString why;
        try {
            if (!catalog_->hasTable(QString::fromLatin1(table)))
                why = QStringLiteral("缺少数据表 %1").arg(QString::fromLatin1(table));
        } catch (const DbError& e) {
            why = e.text; // the disk failed while the tables were read
        }
        if (!why.isEmpty()) {
            db_ = nullptr;
            catalog_.reset();
            reject(why);
        }
    }
    sqlite3_busy_timeout(db_, 2000);
    jet::registerFunctions(db_);
    if (!jet::keepIndexesInOrder(db_)) {
        const QString why = SqliteReason(db_);
        db_ = nullptr;
        catalog_.reset();
        reject(why);
    }
    translator_ = std::make_unique<jet::Translator>(*catalog_);
}

sqlite3_stmt* Session::prepare(const std::string& sql) {
    if (!db_) throw DbError(QStringLiteral("数据文件没有打开"));
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    // Every search is a new text; a day of searching must not keep thousands of statements.
    if (statements_.size() >= 500) finalizeAll();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, &tail) !=
        SQLITE_OK)
        throw DbError(QStringLiteral("数据库拒绝了语句：%1").arg(SqliteReason(db_)));
    if (!st) throw DbError(QStringLiteral("空语句"));
    statements_.emplace(sql, st);
    return st;
}

void Session::step(const jet::Translation& t, const std::function<void(RowSource&)>& reader) {
    sqlite3_stmt* st = prepare(t.sql);
    if (!sqlite3_stmt_readonly(st)) stopScans();
    // A statement that fails while stepping must leave nothing behind.
    const bool autocommit = sqlite3_get_autocommit(db_);
    if (!autocommit) sqlite3_exec(db_, "SAVEPOINT jet_statement", nullptr, nullptr, nullptr);
    try {
        StatementRows rows(db_, st, t.columnTypes);
        reader(rows);
    } catch (...) {
        sqlite3_reset(st);
        if (!autocommit)
            sqlite3_exec(db_, "ROLLBACK TO jet_statement; RELEASE jet_statement", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite3_reset(st);
    if (!autocommit) sqlite3_exec(db_, "RELEASE jet_statement", nullptr, nullptr, nullptr);
    if (t.changesSchema) {
        // Prepared statements may refer to the old schema; the catalogue certainly does.
        finalizeAll();
        catalog_->invalidate();
        translator_->clearCache();
    }
}

QueryResult Session::run(const jet::Translation& t) {
    QueryResult result;
    step(t, [&](RowSource& source) {
        auto& rows = static_cast<StatementRows&>(source);
        result.columns = rows.columns();
        const int n = int(result.columns.size());
        while (rows.next()) {
            std::vector<QVariant> row;
            row.reserve(size_t(n));
            for (int c = 0; c < n; ++c)
                row.push_back(rows.value(c));
            result.rows.push_back(std::move(row));
        }
    });
    return result;
}

void Session::execSql(const QString& jetSql) {
    if (!translator_) throw DbError(QStringLiteral("数据文件没有打开"));
    run(translator_->translate(jetSql));
}

const QueryResult& Session::openQuery(const QString& jetSql) {
    shared_ = query(jetSql);
    return shared_;
}

QueryResult Session::query(const QString& jetSql) {
    if (!translator_) throw DbError(QStringLiteral("数据文件没有打开"));
    return run(translator_->translate(jetSql));
}

void Session::read(const QString& jetSql, const std::function<void(RowSource&)>& reader) {
    if (!translator_) throw DbError(QStringLiteral("数据文件没有打开"));
    step(translator_->translate(jetSql), reader);
}

void Session::readByIds(const QString& jetSql, const std::vector<qlonglong>& ids,
                        const std::function<void(RowSource&)>& reader) {
    if (!translator_) throw DbError(QStringLiteral("数据文件没有打开"));
    const jet::Translation& t = translator_->translate(jetSql);
    // The IDs are bound, and their count rounded up, so that a few prepared statements serve
    // every page of a list.
    size_t slots = 8;
    while (slots < ids.size())
        slots *= 2;
    std::string sql = "SELECT * FROM (" + t.sql + ") WHERE \"ID\" IN (?";
    for (size_t i = 1; i < slots; ++i)
        sql += ",?";
    sql += ")";
    sqlite3_stmt* st = prepare(sql);
    for (size_t i = 0; i < slots; ++i)
        if (i < ids.size())
            sqlite3_bind_int64(st, int(i) + 1, ids[i]);
        else
            sqlite3_bind_null(st, int(i) + 1);
    try {
        StatementRows rows(db_, st, t.columnTypes);
        reader(rows);
    } catch (...) {
        sqlite3_reset(st);
        throw;
    }
    sqlite3_reset(st);
}

void Session::stopScans() {
    for (KeyScan* scan : scans_)
        scan->stop();
}

sqlite3* Session::takeReader() {
    if (!db_) throw DbError(QStringLiteral("数据文件没有打开"));
    if (sqlite3* idle = std::exchange(idleReader_, nullptr)) return idle;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path_.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString why = db ? SqliteReason(db) : QStringLiteral("内存不足");
        sqlite3_close_v2(db);
        throw DbError(QStringLiteral("无法打开数据文件 %1：%2").arg(path_, why));
    }
    jet::registerFunctions(db);
    return db;
}

void Session::returnReader(sqlite3* db) {
    // One idle connection is kept, with the pages it has read, for the next search.
    if (!idleReader_)
        idleReader_ = db;
    else
        sqlite3_close_v2(db);
}

void Session::execNative(const QString& sql) {
    if (!db_) throw DbError(QStringLiteral("数据文件没有打开"));
    stopScans();
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = SqliteReason(sqlite3_extended_errcode(db_), QString::fromUtf8(err ? err : ""));
        sqlite3_free(err);
        throw DbError(QStringLiteral("数据库操作失败：%1").arg(why));
    }
}

qlonglong Session::addRow(const QString& table, const FieldValues& fields) {
    const QString name = catalog_ ? catalog_->tableName(table) : QString();
    if (name.isEmpty()) throw DbError(QStringLiteral("没有数据表 %1").arg(table));
    stopScans();
    QStringList cols, marks;
    std::vector<jet::JetType> types;
    for (const auto& [column, value] : fields) {
        const auto type = catalog_->columnType(name, column);
        if (!type) throw DbError(QStringLiteral("数据表 %1 没有字段 %2").arg(name, column));
        cols << QLatin1Char('"') + column + QLatin1Char('"');
        marks << QStringLiteral("?");
        types.push_back(*type);
    }
    const QString sql = fields.empty()
                            ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(name)
                            : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                  .arg(name, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    sqlite3_stmt* st = prepare(sql.toStdString());
    for (size_t i = 0; i < fields.size(); ++i)
        bindValue(st, int(i) + 1, fields[i].second, types[i]);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (rc != SQLITE_DONE) throw DbError(QStringLiteral("数据库操作失败：%1").arg(SqliteReason(db_)));
    return sqlite3_last_insert_rowid(db_);
}

void ExecSql(Session& s, const QString& sql) {
    s.execSql(sql);
}

const QueryResult& OpenQuery(Session& s, const QString& sql) {
    return s.openQuery(sql);
}

void InsertRow(Session& s, const QString& table, const QString& columns, const QString& values) {
    s.execSql(QStringLiteral("Insert into ") + table + QStringLiteral(" (") + columns +
              QStringLiteral(") values(") + values + QStringLiteral(")"));
}

void AppendLog(Session& s) {
    // Bound, not spliced: a log line can never break its statement.
    const QDateTime now = QDateTime::currentDateTime();
    s.addRow(QStringLiteral("T_txt"),
             {{QStringLiteral("RQ"),
               QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()))},
              {QStringLiteral("cc"), s.logText}});
}

void AppendLog(Session& s, const QString& text) {
    s.logText = text;
    AppendLog(s);
}

bool AskYesNo(Session& s, const QString& prompt, const QString& title) {
    return s.boxes().askYesNo(prompt, title);
}

void StopWithMessage(Session& s, const QString& message) {
    s.boxes().warning(message, app::kTitle);
    throw ProgramStop{1};
}

void SetStatusText(Session& s, const QString& text) {
    if (s.statusBarHook) s.statusBarHook(text);
}
