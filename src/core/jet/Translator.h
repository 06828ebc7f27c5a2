#pragma once
// Translates the program's Jet SQL statements into SQLite SQL: tokenizer, parser into a
// small syntax tree, typing against the catalogue, faster forms of some shapes, emitter.
// Translations are cached by text.
#include "core/jet/Catalog.h"
#include "core/jet/JetTypes.h"

#include <QHash>
#include <QString>

struct sqlite3;

namespace jet {

class Translator {
public:
    // rewrite: the faster forms of Rewriter.h; off only to show that they change no result.
    explicit Translator(Catalog& catalog, bool rewrite = true) : catalog_(catalog), rewrite_(rewrite) {}
    // Throws JetError with a readable message when the statement cannot be parsed.
    const Translation& translate(const QString& jetSql);
    void clearCache() { cache_.clear(); }

private:
    Catalog& catalog_;
    bool rewrite_;
    QHash<QString, Translation> cache_;
};

// Registers the SQL functions and the collation the translated statements use. Every
// connection to a data file needs them: its name indexes are ordered by the PINYIN collation.
void registerFunctions(sqlite3* db);

// The collation comes from the system's ICU, whose order may change with an upgrade of the
// system; name indexes built with the old order would then give wrong rows. Rebuilds them when
// the order differs from the one the file records (PRAGMA user_version). False when that fails.
bool keepIndexesInOrder(sqlite3* db);

// A number that changes when the collation orders texts differently.
int collationFingerprint();

} // namespace jet
