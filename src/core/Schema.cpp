#include "core/Schema.h"

#include "core/Options.h"
#include "core/Session.h"

#include <QByteArray>
#include <functional>
#include <iterator>
#include <sqlite3.h>

namespace {

struct Step {
    long version;
    const char* sql;
    const char* tables; // the tables the step makes, comma-separated
};

const Step kSteps[] = {
    {2000, R"SQL(
CREATE TABLE T_TZ (ID INTEGER PRIMARY KEY AUTOINCREMENT, MC TEXT, JC TEXT, XH TEXT, KW TEXT,
  KCmin DOUBLE, ZKC DOUBLE, ZCB DOUBLE, DJ DOUBLE, LSJ DOUBLE, PFJ DOUBLE, DBJ DOUBLE, BJ BOOLEAN);
CREATE TABLE T_IO (ID INTEGER PRIMARY KEY AUTOINCREMENT, TZID INTEGER, RQ DATETIME, SL DOUBLE,
  ZJE DOUBLE, GZJE DOUBLE, JXID INTEGER, KHXQID INTEGER, BZ TEXT);
CREATE TABLE T_KH (ID INTEGER PRIMARY KEY AUTOINCREMENT, KHMC TEXT, KHZL TEXT);
CREATE TABLE T_KH_XQ (ID INTEGER PRIMARY KEY AUTOINCREMENT, KHID INTEGER, RQ DATETIME, KHXQ TEXT, BJ BOOLEAN);
CREATE TABLE T_GYS (ID INTEGER PRIMARY KEY AUTOINCREMENT, GYSMC TEXT, GYSZL TEXT, GHPZ TEXT);
CREATE TABLE T_Option (ID INTEGER PRIMARY KEY, PassL TEXT, PassH TEXT, MingCheng TEXT, SSTab_Index SMALLINT,
  Show_JHZJE BOOLEAN, Show_ZCB BOOLEAN, Show_LSJ BOOLEAN, Show_PFJ BOOLEAN, Show_DBJ BOOLEAN,
  QX_TZin0 BOOLEAN, QX_TZin BOOLEAN, QX_TZedit BOOLEAN, QX_TZfx BOOLEAN, QX_INfx BOOLEAN, Ver_ID INTEGER);
CREATE TABLE T_Key (id INTEGER PRIMARY KEY AUTOINCREMENT, cc TEXT);
CREATE TABLE T_txt (ID INTEGER PRIMARY KEY AUTOINCREMENT, RQ DATETIME, cc TEXT);
-- The lists read movements by goods item, by direction and by date.
CREATE INDEX IX_IO_TZID ON T_IO (TZID, ID);
CREATE INDEX IX_IO_RQ ON T_IO (RQ);
CREATE INDEX IX_KH_XQ_KHID ON T_KH_XQ (KHID);
-- The lists sort names the way people read them; these indexes spare the sort.
CREATE INDEX IX_TZ_MC ON T_TZ (MC COLLATE PINYIN, XH COLLATE PINYIN);
CREATE INDEX IX_GYS_GYSMC ON T_GYS (GYSMC COLLATE PINYIN);
CREATE INDEX IX_KH_KHMC ON T_KH (KHMC COLLATE PINYIN);
)SQL",
     "T_TZ,T_IO,T_KH,T_KH_XQ,T_GYS,T_Option,T_Key,T_txt"},
    // The staging table of the printed lists.
    {2001,
     "CREATE TABLE T_Print1 (ID INTEGER PRIMARY KEY AUTOINCREMENT, XH TEXT, TB1 TEXT, TB2 TEXT, "
     "TB3 TEXT, TB4 TEXT, TB5 TEXT, TB6 TEXT);",
     "T_Print1"},
    {2002, "", ""},
};
static_assert(std::size(kSteps) == schema::kCurrentVersion - schema::kFirstVersion + 1);

using Exec = std::function<void(const QByteArray&)>;

void runStep(const Step& step, const Exec& exec) {
    exec("UPDATE T_Option SET Ver_ID=" + QByteArray::number(qlonglong(step.version)) + " WHERE ID=3;");
    if (*step.sql) exec(step.sql);
}

} // namespace

namespace schema {

void create(sqlite3* db, long version) {
    if (version < kFirstVersion || version > kCurrentVersion)
        throw DbError(QStringLiteral("没有版本 %1 的数据表").arg(version));
    const Exec exec = [db](const QByteArray& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
            sqlite3_free(err);
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw DbError(why);
        }
    };
    exec("BEGIN");
    exec(kSteps[0].sql);
    exec(QStringLiteral("INSERT INTO T_Option (ID, MingCheng, Ver_ID) VALUES (3, '', %1); "
                        "UPDATE T_Option SET %2 WHERE ID=3;")
             .arg(kFirstVersion)
             .arg(freshOptions())
             .toUtf8());
    for (const Step& step : kSteps)
        if (step.version > kFirstVersion && step.version <= version) runStep(step, exec);
    exec("COMMIT");
}

QStringList tables(long version) {
    QStringList names;
    for (const Step& step : kSteps)
        if (step.version <= version && *step.tables)
            names += QString::fromLatin1(step.tables).split(QLatin1Char(','));
    if (version < kFirstVersion || version > kCurrentVersion) names.clear();
    return names;
}

QString freshOptions() {
    return QStringLiteral("PassL='%1',PassH='%2',SSTab_Index=0,Show_JHZJE=-1,Show_ZCB=-1,Show_LSJ=-1,"
                          "Show_PFJ=-1,Show_DBJ=-1,QX_TZin0=-1,QX_TZin=-1,QX_TZedit=-1,QX_TZfx=-1,QX_INfx=-1")
        .arg(app::kDefaultUserPassword, app::kDefaultAdminPassword);
}

long upgrade(Session& session, long version) {
    long reached = version;
    for (const Step& step : kSteps) {
        if (step.version != reached + 1 || step.version == kFirstVersion) continue;
        try {
            runStep(step, [&](const QByteArray& sql) { session.execNative(QString::fromUtf8(sql)); });
        } catch (const DbError&) {
            break;
        }
        reached = step.version;
    }
    if (reached != version) session.catalog().invalidate(); // the translator must see the new tables
    return reached;
}

} // namespace schema
