#include "core/SqliteReason.h"

#include <sqlite3.h>

QString SqliteReason(sqlite3* db) {
    return SqliteReason(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

QString SqliteReason(int code, const QString& sqliteMessage) {
    switch (code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满");
    case SQLITE_IOERR:
        return QStringLiteral("磁盘读写出错");
    case SQLITE_READONLY:
        return QStringLiteral("数据文件只读");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开或建立文件");
    case SQLITE_PERM:
        return QStringLiteral("没有写入的权限");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据文件正被另一个程序使用");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据文件已经损坏");
    case SQLITE_NOTADB:
        return QStringLiteral("不是本程序的数据文件");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    default:
        return sqliteMessage;
    }
}
