#pragma once
// Translates the program's Jet SQL statements into SQLite SQL: tokenizer, parser into a
// small syntax tree, typing against the catalogue, emitter. Translations are cached by text.
#include "core/jet/Catalog.h"
#include "core/jet/JetTypes.h"

#include <QHash>
#include <QString>

struct sqlite3;

namespace jet {

class Translator {
public:
    explicit Translator(Catalog& catalog) : catalog_(catalog) {}
    // Throws JetError with a readable message when the statement cannot be parsed.
    const Translation& translate(const QString& jetSql);
    void clearCache() { cache_.clear(); }

private:
    Catalog& catalog_;
    QHash<QString, Translation> cache_;
};

// Registers the SQL functions and the collation the translated statements use.
void registerFunctions(sqlite3* db);

} // namespace jet
