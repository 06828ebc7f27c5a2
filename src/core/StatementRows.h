#pragma once
// A prepared statement's rows as it steps through them, for the session's reads and for a
// scan on a thread of its own. Values the list models read most (text, numbers, dates) are
// taken straight from SQLite; everything else goes through the general conversion, so both
// ways give the same values.
#include "core/QueryResult.h"
#include "core/jet/JetTypes.h"

#include <QHash>
#include <QStringList>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class StatementRows : public RowSource {
public:
    StatementRows(sqlite3* db, sqlite3_stmt* st, const std::vector<jet::JetType>& types);
    const QStringList& columns() const { return columns_; }
    int columnIndex(const QString& name) const override;
    // Throws DbError when stepping fails, or when the reading was interrupted.
    bool next() override;
    QVariant value(int c) const override;
    QString text(int c) const override;
    double number(int c) const override;
    QString dateText(int c) const override;

private:
    jet::JetType type(int c) const {
        return c < int(types_.size()) ? types_[size_t(c)] : jet::JetType::Unknown;
    }
    QString sharedText(int c, const char* raw, int bytes) const;

    struct Texts {
        QHash<QByteArray, QString> seen;
        qsizetype lookups = 0;
        bool off = false;
    };

    sqlite3* db_;
    sqlite3_stmt* st_;
    const std::vector<jet::JetType>& types_;
    QStringList columns_;
    bool done_ = false;
    mutable std::vector<Texts> texts_;
};
