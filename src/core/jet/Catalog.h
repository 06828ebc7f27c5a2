#pragma once
#include "core/jet/JetTypes.h"

#include <QHash>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

struct sqlite3;

namespace jet {

// Tables and columns of the open data file with their Jet types, read from SQLite's
// declared types. Names are compared without regard to letter case. A read of the data file
// that fails throws JetError with the reason.
class Catalog {
public:
    struct Column {
        QString name;
        JetType type;
        bool rowid = false; // the table's INTEGER PRIMARY KEY: one row at most per value
    };
    explicit Catalog(sqlite3* db) : db_(db) {}

    bool hasTable(const QString& table);
    // The table's columns in their order; empty when there is no such table.
    const std::vector<Column>& columns(const QString& table);
    std::optional<JetType> columnType(const QString& table, const QString& column);
    // The table's name as stored (e.g. "T_Print1" for "t_print1"); empty when unknown.
    QString tableName(const QString& table);
    void invalidate();

private:
    void load();
    sqlite3* db_;
    bool loaded_ = false;
    QHash<QString, std::pair<QString, std::vector<Column>>> tables_; // key: lower-case name
};

} // namespace jet
