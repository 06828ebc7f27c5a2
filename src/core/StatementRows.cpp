#include "core/StatementRows.h"

#include "core/Session.h"
#include "core/SqliteReason.h"
#include "core/Vb.h"
#include "core/jet/ValueText.h"

#include <sqlite3.h>

namespace {

QVariant toVariant(sqlite3_stmt* st, int col, jet::JetType type) {
    const int kind = sqlite3_column_type(st, col);
    if (kind == SQLITE_NULL) return {};
    switch (type) {
    case jet::JetType::Boolean:
        return sqlite3_column_int64(st, col) != 0;
    case jet::JetType::Date: {
        // Stored dates are ISO text; read those without the general parser, row by row it counts.
        const char* raw = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        jet::DateParts p;
        if (jet::parseStoredDate(raw, sqlite3_column_bytes(st, col), p)) {
            if (!p.hour && !p.minute && !p.second) return QDate(p.year, p.month, p.day);
            return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
        }
        const QString text = QString::fromUtf8(raw);
        const QDateTime dt = vb::ParseDateTime(text);
        if (!dt.isValid()) return text;
        if (dt.time() == QTime(0, 0)) return dt.date();
        return dt;
    }
    case jet::JetType::Long:
    case jet::JetType::Integer:
        if (kind == SQLITE_INTEGER) return qlonglong(sqlite3_column_int64(st, col));
        break;
    case jet::JetType::Double:
        if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) return sqlite3_column_double(st, col);
        break;
    case jet::JetType::Text:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                 sqlite3_column_bytes(st, col));
    case jet::JetType::Unknown:
        break;
    }
    switch (kind) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(st, col));
    case SQLITE_FLOAT:
        return sqlite3_column_double(st, col);
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                 sqlite3_column_bytes(st, col));
    }
}

} // namespace

StatementRows::StatementRows(sqlite3* db, sqlite3_stmt* st, const std::vector<jet::JetType>& types)
    : db_(db), st_(st), types_(types) {
    const int n = sqlite3_column_count(st);
    for (int c = 0; c < n; ++c)
        columns_ << QString::fromUtf8(sqlite3_column_name(st, c));
}

int StatementRows::columnIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool StatementRows::next() {
    if (done_) return false;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    done_ = true;
    if (rc != SQLITE_DONE) throw DbError(QStringLiteral("数据库操作失败：%1").arg(SqliteReason(db_)));
    return false;
}

QVariant StatementRows::value(int c) const {
    return c < 0 ? QVariant() : toVariant(st_, c, type(c));
}

QString StatementRows::text(int c) const {
    if (c < 0 || sqlite3_column_type(st_, c) == SQLITE_NULL) return {};
    const jet::JetType t = type(c);
    if (sqlite3_column_type(st_, c) == SQLITE_TEXT && (t == jet::JetType::Text || t == jet::JetType::Unknown))
        return sharedText(c, reinterpret_cast<const char*>(sqlite3_column_text(st_, c)),
                          sqlite3_column_bytes(st_, c));
    return RowSource::text(c);
}

double StatementRows::number(int c) const {
    if (c < 0) return 0;
    const int kind = sqlite3_column_type(st_, c);
    if (kind == SQLITE_NULL) return 0;
    const jet::JetType t = type(c);
    if ((kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) && t != jet::JetType::Date &&
        t != jet::JetType::Text && t != jet::JetType::Boolean)
        return sqlite3_column_double(st_, c);
    return RowSource::number(c);
}

QString StatementRows::dateText(int c) const {
    if (c >= 0 && type(c) == jet::JetType::Date && sqlite3_column_type(st_, c) == SQLITE_TEXT) {
        jet::DateParts p;
        if (jet::parseStoredDate(reinterpret_cast<const char*>(sqlite3_column_text(st_, c)),
                                 sqlite3_column_bytes(st_, c), p) &&
            !p.hour && !p.minute && !p.second) {
            const QDate d(p.year, p.month, p.day);
            return sharedDate(d.toJulianDay(), [&] { return vb::DateText(d); });
        }
    }
    return RowSource::dateText(c);
}

// A list of sales repeats the same goods and customer labels thousands of times: such a
// column's equal texts share one QString, which spares a hundred thousand conversions and
// tens of megabytes. A column whose texts seldom repeat (notes) soon stops trying.
QString StatementRows::sharedText(int c, const char* raw, int bytes) const {
    if (size_t(c) >= texts_.size()) texts_.resize(size_t(c) + 1);
    Texts& t = texts_[size_t(c)];
    if (t.off || bytes == 0) return QString::fromUtf8(raw, bytes);
    ++t.lookups;
    auto it = t.seen.constFind(QByteArray::fromRawData(raw, bytes));
    if (it != t.seen.cend()) return *it;
    if (t.lookups >= 4096 && t.seen.size() * 2 > t.lookups) {
        t.off = true;
        t.seen.clear();
    }
    const QString text = QString::fromUtf8(raw, bytes);
    if (!t.off) t.seen.insert(QByteArray(raw, bytes), text);
    return text;
}
