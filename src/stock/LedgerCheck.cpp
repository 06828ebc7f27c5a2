#include "stock/LedgerCheck.h"

#include "core/Session.h"
#include "core/SqliteReason.h"
#include "core/Transaction.h"

#include <sqlite3.h>

namespace {

// Runs native SQL and hands each row to `row`; the reason when it fails, else nothing.
// The statement is the check's own, so it is not kept among the session's.
template <class Row> QString eachRow(sqlite3* db, const char* sql, Row row) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return SqliteReason(db);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        row(st);
    const QString why = rc == SQLITE_DONE ? QString() : SqliteReason(db);
    sqlite3_finalize(st);
    return why;
}

void orThrow(const QString& why) {
    if (!why.isEmpty()) throw DbError(QStringLiteral("数据文件无法检查：") + why);
}

QString text(sqlite3_stmt* st, int c) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
}

// A figure to the cent; an empty column or one that holds no number says so.
QString figure(sqlite3_stmt* st, int c) {
    switch (sqlite3_column_type(st, c)) {
    case SQLITE_NULL:
        return QStringLiteral("空");
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(st, c), 'f', 2);
    default:
        return QLatin1Char('"') + text(st, c) + QLatin1Char('"');
    }
}

bool isNumber(sqlite3_stmt* st, int c) {
    const int t = sqlite3_column_type(st, c);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

// Each goods item's purchases and sales summed in one pass over the movements, compared in
// whole cents (a sum of hundredths in doubles may be off by a trillionth). Joined from the sums
// to the goods' own key: the other way round SQLite searches the sums for every goods item.
const char* kGoodsSql = R"(
WITH moved AS (
  SELECT abs(TZID) AS G,
         total(CASE WHEN TZID < 0 THEN SL END) AS bought,
         total(CASE WHEN TZID > 0 THEN SL END) AS sold,
         total(CASE WHEN TZID < 0 THEN round(SL * 100) ELSE -round(SL * 100) END) AS net
  FROM T_IO GROUP BY abs(TZID))
SELECT T.ID, T.MC, T.XH, T.ZKC, T.ZCB, T.DJ, coalesce(m.bought, 0), coalesce(m.sold, 0),
       round(T.ZKC * 100) IS NOT coalesce(m.net, 0)
FROM moved AS m RIGHT JOIN T_TZ AS T ON m.G = T.ID
WHERE typeof(T.ZKC) NOT IN ('integer', 'real') OR typeof(T.ZCB) NOT IN ('integer', 'real')
   OR typeof(T.DJ) NOT IN ('integer', 'real') OR T.ZKC < 0
   OR round(T.ZKC * 100) IS NOT coalesce(m.net, 0)
ORDER BY T.ID)";

// Movements whose goods item is gone, counted per goods number from the index on TZID.
const char* kOrphansSql = R"(
SELECT G, sum(n) FROM (SELECT abs(TZID) AS G, count(*) AS n FROM T_IO GROUP BY TZID)
WHERE G IS NULL OR G NOT IN (SELECT ID FROM T_TZ)
GROUP BY G ORDER BY G)";

} // namespace

QStringList LedgerCheckResult::lines() const {
    if (sound()) return {QStringLiteral("数据文件完好，账目相符。")};
    QStringList out;
    if (!damage.isEmpty()) out << QStringLiteral("数据文件已损坏：") << damage;
    return out + goods;
}

LedgerCheckResult LedgerCheck::run() {
    sqlite3* db = s_.handle();
    if (!db) throw DbError(QStringLiteral("数据文件没有打开"));
    LedgerCheckResult r;
    // A file damaged badly enough may stop the integrity check itself.
    if (const QString why = eachRow(db, "PRAGMA integrity_check",
                                    [&](sqlite3_stmt* st) {
                                        if (const QString t = text(st, 0); t != QLatin1String("ok"))
                                            r.damage << t;
                                    });
        !why.isEmpty())
        r.damage << why;
    if (!r.damage.isEmpty()) return r;

    // Both statements see the same moment of a file a window may be writing; the window's
    // next save waits for them, not for the integrity check as well.
    Transaction snapshot(s_);
    orThrow(eachRow(db, kGoodsSql, [&](sqlite3_stmt* st) {
        QStringList faults;
        const QString stock = figure(st, 3);
        if (isNumber(st, 3) && sqlite3_column_int(st, 8))
            faults << QStringLiteral("库存 %1，而进货 %2 减销售 %3 为 %4")
                          .arg(stock, figure(st, 6), figure(st, 7),
                               QString::number(sqlite3_column_double(st, 6) - sqlite3_column_double(st, 7),
                                               'f', 2));
        if (isNumber(st, 3) && sqlite3_column_double(st, 3) < 0)
            faults << QStringLiteral("库存 %1 为负数").arg(stock);
        const char* names[] = {"库存", "总成本", "单位成本"};
        for (int c = 3; c <= 5; ++c)
            if (!isNumber(st, c))
                faults << QString::fromUtf8(names[c - 3]) + (sqlite3_column_type(st, c) == SQLITE_NULL
                                                                 ? QStringLiteral("为空")
                                                                 : QStringLiteral("不是数字"));
        QString name = text(st, 1);
        if (const QString model = text(st, 2); !model.isEmpty())
            name += QLatin1Char('(') + model + QLatin1Char(')');
        r.goods << QStringLiteral("商品 %1 %2：").arg(sqlite3_column_int64(st, 0)).arg(name) +
                       faults.join(QStringLiteral("；"));
    }));
    orThrow(eachRow(db, kOrphansSql, [&](sqlite3_stmt* st) {
        const QString id = sqlite3_column_type(st, 0) == SQLITE_NULL ? QStringLiteral("（空）") : text(st, 0);
        r.goods << QStringLiteral("商品 %1 不存在，却有 %2 条进货或销售记录")
                       .arg(id)
                       .arg(sqlite3_column_int64(st, 1));
    }));
    snapshot.commit();
    return r;
}
