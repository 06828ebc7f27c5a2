#include "core/DataFile.h"

#include "core/Schema.h"
#include "core/Session.h"
#include "core/jet/Translator.h"

#include <QFile>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

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
    try {
        schema::create(db, version);
    } catch (const DbError& e) {
        fail(e.text);
    }
    sqlite3_close_v2(db);
}
