#include "core/DataFile.h"

#include "core/Options.h"
#include "core/Session.h"
#include "core/jet/Translator.h"

#include <QFile>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const char* kSchema = R"SQL(
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
)SQL";

const char* kPrint1 =
    "CREATE TABLE T_Print1 (ID INTEGER PRIMARY KEY AUTOINCREMENT, XH TEXT, TB1 TEXT, TB2 TEXT, TB3 TEXT, "
    "TB4 TEXT, TB5 TEXT, TB6 TEXT);";

} // namespace

void CreateDataFile(const QString& path, long version) {
    const QByteArray native = QFile::encodeName(path);
    // Owner-only from the first byte, and never over an existing file.
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) throw DbError(QStringLiteral("无法创建数据文件 %1").arg(path));
    ::close(fd);
    sqlite3* db = nullptr;
    auto fail = [&](const QString& why) {
        sqlite3_close_v2(db);
        QFile::remove(path);
        throw DbError(QStringLiteral("无法创建数据文件 %1：%2").arg(path, why));
    };
    if (sqlite3_open_v2(native.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    jet::registerFunctions(db); // the name indexes use the PINYIN collation
    jet::keepIndexesInOrder(db);
    QByteArray sql = "BEGIN;";
    sql += kSchema;
    if (version >= 2001) sql += kPrint1;
    sql +=
        QStringLiteral(
            "INSERT INTO T_Option VALUES (3, '%1', '%2', '', 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, %3);")
            .arg(app::kDefaultUserPassword, app::kDefaultAdminPassword)
            .arg(version)
            .toUtf8();
    sql += "COMMIT;";
    char* err = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        fail(why);
    }
    sqlite3_close_v2(db);
}
