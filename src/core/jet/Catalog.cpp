#include "core/jet/Catalog.h"

#include "core/SqliteReason.h"

#include <sqlite3.h>

namespace jet {

const char* declaredType(JetType type) {
    switch (type) {
    case JetType::Long:
        return "INTEGER";
    case JetType::Integer:
        return "SMALLINT";
    case JetType::Double:
        return "DOUBLE";
    case JetType::Boolean:
        return "BOOLEAN";
    case JetType::Date:
        return "DATETIME";
    case JetType::Text:
        return "TEXT";
    case JetType::Unknown:
        break;
    }
    return "";
}

JetType typeFromDeclared(const QString& declared) {
    const QString d = declared.trimmed().toUpper();
    if (d.isEmpty()) return JetType::Unknown;
    if (d.startsWith(QLatin1String("SMALLINT")) || d == QLatin1String("SHORT")) return JetType::Integer;
    if (d.startsWith(QLatin1String("BOOL")) || d == QLatin1String("BIT") || d == QLatin1String("YESNO"))
        return JetType::Boolean;
    if (d.startsWith(QLatin1String("DATE")) || d == QLatin1String("TIME")) return JetType::Date;
    if (d.contains(QLatin1String("INT")) || d == QLatin1String("LONG") || d == QLatin1String("COUNTER"))
        return JetType::Long;
    if (d.contains(QLatin1String("DOUB")) || d.contains(QLatin1String("REAL")) ||
        d.contains(QLatin1String("FLOA")) || d == QLatin1String("SINGLE") || d == QLatin1String("CURRENCY") ||
        d == QLatin1String("NUMERIC"))
        return JetType::Double;
    return JetType::Text;
}

void Catalog::invalidate() {
    loaded_ = false;
    tables_.clear();
}

void Catalog::load() {
    if (loaded_) return;
    tables_.clear();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_,
                           "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'",
                           -1, &st, nullptr) != SQLITE_OK)
        return; // not a database: an empty catalogue
    // A read the disk fails must not leave a catalogue short of a table or a column.
    const auto finish = [&](int rc) {
        if (rc == SQLITE_DONE) return sqlite3_finalize(st);
        const JetError e(SqliteReason(db_));
        sqlite3_finalize(st);
        tables_.clear();
        throw e;
    };
    QStringList names;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    finish(rc);
    for (const QString& name : names) {
        std::vector<Column> cols;
        int keys = 0;
        Column* key = nullptr;
        const QByteArray sql = "PRAGMA table_info(\"" + name.toUtf8() + "\")";
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr) != SQLITE_OK) finish(SQLITE_ERROR);
        std::vector<bool> integerKey;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const QString col = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            const char* decl = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
            const QString declared = QString::fromUtf8(decl ? decl : "");
            cols.push_back({col, typeFromDeclared(declared)});
            const bool inKey = sqlite3_column_int(st, 5) > 0;
            keys += inKey;
            integerKey.push_back(
                inKey && declared.trimmed().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0);
        }
        finish(rc);
        // Only a key of one column declared INTEGER stands for the rowid.
        for (size_t i = 0; i < cols.size() && keys == 1; ++i)
            if (integerKey[i]) key = &cols[i];
        if (key) key->rowid = true;
        tables_.insert(name.toLower(), {name, std::move(cols)});
    }
    loaded_ = true;
}

bool Catalog::hasTable(const QString& table) {
    load();
    return tables_.contains(table.toLower());
}

const std::vector<Catalog::Column>& Catalog::columns(const QString& table) {
    static const std::vector<Column> none;
    load();
    auto it = tables_.constFind(table.toLower());
    return it == tables_.constEnd() ? none : it->second;
}

QString Catalog::tableName(const QString& table) {
    load();
    auto it = tables_.constFind(table.toLower());
    return it == tables_.constEnd() ? QString() : it->first;
}

std::optional<JetType> Catalog::columnType(const QString& table, const QString& column) {
    for (const Column& c : columns(table))
        if (c.name.compare(column, Qt::CaseInsensitive) == 0) return c.type;
    return std::nullopt;
}

} // namespace jet
