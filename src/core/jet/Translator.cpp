// Temporary: passes statements through unchanged until the real translator lands.
#include "core/jet/Translator.h"

namespace jet {

const Translation& Translator::translate(const QString& jetSql) {
    auto it = cache_.find(jetSql);
    if (it != cache_.end())
        return *it;
    Translation t;
    t.sql = jetSql.toStdString();
    const QString head = jetSql.trimmed().left(6).toUpper();
    t.changesSchema = head == QLatin1String("CREATE") || head == QLatin1String("DROP T") || head.startsWith("ALTER");
    return *cache_.insert(jetSql, std::move(t));
}

void registerFunctions(sqlite3*) {}

} // namespace jet
