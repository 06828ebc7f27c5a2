#include "core/jet/Translator.h"

#include "core/jet/Binder.h"
#include "core/jet/Emitter.h"
#include "core/jet/Parser.h"
#include "core/jet/Rewriter.h"

namespace jet {

const Translation& Translator::translate(const QString& jetSql) {
    auto it = cache_.constFind(jetSql);
    if (it != cache_.constEnd()) return *it;
    Statement st = Parser(jetSql).parseStatement();
    Binder(catalog_, jetSql).bind(st);
    if (rewrite_) rewrite(st);
    Translation t;
    t.sql = Emitter(jetSql).statement(st).toStdString();
    if (st.kind == Statement::Kind::Select)
        for (const ResultColumn& c : st.select->result)
            t.columnTypes.push_back(c.type);
    t.changesSchema = st.kind == Statement::Kind::CreateTable || st.kind == Statement::Kind::DropTable;
    // Searches make new texts all day; keep the cache from growing without end.
    if (cache_.size() > 2000) cache_.clear();
    return *cache_.insert(jetSql, std::move(t));
}

} // namespace jet
