#include "admin/DataFileCopies.h"

#include "core/Schema.h"
#include "core/Session.h"
#include "core/SqliteReason.h"
#include "core/jet/Translator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("文件夹不存在");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("没有写入的权限");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满");
    case EISDIR:
        return QStringLiteral("目标是一个文件夹");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

[[noreturn]] void fail(const QString& what, int error) {
    throw DbError(what + QStringLiteral("：") + reason(error));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// An empty file of the owner's only, under a name of its own in the folder of `beside`.
QString temporaryBeside(const QString& beside) {
    const QFileInfo info(beside);
    QByteArray name =
        native(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(name.data());
    if (fd < 0) fail(QStringLiteral("无法在 %1 中写入文件").arg(info.absolutePath()), errno);
    ::close(fd);
    return QFile::decodeName(name);
}

void syncPath(const QString& path, bool folder) {
    const int fd = ::open(native(path).constData(), folder ? (O_RDONLY | O_DIRECTORY) : O_RDWR);
    if (fd < 0) fail(QStringLiteral("无法写入 %1").arg(path), errno);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0) fail(QStringLiteral("无法写入 %1").arg(path), error);
}

// The whole database of the connection, compacted, into the empty file `to`, then synced.
void vacuumInto(sqlite3* from, const QString& to) {
    char* sql = sqlite3_mprintf("VACUUM INTO %Q", to.toUtf8().constData());
    char* err = nullptr;
    const int rc = sqlite3_exec(from, sql, nullptr, nullptr, &err);
    sqlite3_free(sql);
    if (rc != SQLITE_OK) {
        const QString why = SqliteReason(rc, QString::fromUtf8(err ? err : sqlite3_errstr(rc)));
        sqlite3_free(err);
        throw DbError(QStringLiteral("无法复制数据：") + why);
    }
    syncPath(to, false);
}

void renameOver(const QString& from, const QString& to) {
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail(QStringLiteral("无法写入 %1").arg(to), errno);
    syncPath(QFileInfo(to).absolutePath(), true);
}

// Removes a temporary file unless it was taken into use.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& beside) : path(temporaryBeside(beside)) {}
    ~TemporaryFile() {
        if (!kept) ::unlink(native(path).constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void renameTo(const QString& target) {
        renameOver(path, target);
        kept = true;
    }
    const QString path;
    bool kept = false;
};

// A complete copy of the connection's database at `target`, replacing it only once complete.
void writeCopy(sqlite3* from, const QString& target) {
    TemporaryFile copy(target);
    vacuumInto(from, copy.path);
    copy.renameTo(target);
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return ::stat(native(a).constData(), &sa) == 0 && ::stat(native(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// A backup opened for reading only, with the program's SQL functions (the name indexes sort by them).
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) {
        rc = sqlite3_open_v2(native(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        if (rc == SQLITE_OK) jet::registerFunctions(db);
    }
    ~ReadOnlyFile() { sqlite3_close_v2(db); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Why the file could not be read, when the disk rather than the file is at fault.
    std::optional<QString> unreadable() const {
        switch (rc & 0xff) {
        case SQLITE_IOERR:
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_CANTOPEN:
        case SQLITE_NOMEM:
        case SQLITE_PERM:
            return QStringLiteral("所选文件无法读取：") +
                   SqliteReason(rc, QString::fromUtf8(sqlite3_errstr(rc)));
        default:
            return std::nullopt;
        }
    }

    // The first column of every row of the statement; rc set when SQLite fails.
    QStringList column(const char* sql) {
        QStringList values;
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        if (rc == SQLITE_OK)
            while ((rc = sqlite3_step(st)) == SQLITE_ROW)
                values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
        sqlite3_finalize(st);
        return values;
    }

    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
};

const QString kNotOurs = QStringLiteral("所选文件不是本程序的数据文件，不能用它还原。");
const QString kDamaged = QStringLiteral("所选文件已经损坏，不能用它还原。");

} // namespace

void DataFileCopies::backup(const QString& target) {
    if (sameFile(target, s_.path())) throw DbError(QStringLiteral("不能把备份写在正在使用的数据文件上。"));
    writeCopy(s_.handle(), target);
}

bool DataFileCopies::restoreAllowed(const QString& password) const {
    return password == s_.options.PassH;
}

std::optional<QString> DataFileCopies::refusal(const QString& source) {
    const QFileInfo info(source);
    if (!info.isFile()) return QStringLiteral("所选文件不存在。");
    if (sameFile(source, s_.path())) return QStringLiteral("所选文件就是正在使用的数据文件，不能用它还原。");
    ReadOnlyFile file(source);
    if (file.rc != SQLITE_OK)
        return QStringLiteral("所选文件无法打开：") +
               SqliteReason(file.rc, QString::fromUtf8(sqlite3_errstr(file.rc)));
    const QStringList integrity = file.column("PRAGMA integrity_check");
    if (auto why = file.unreadable()) return why;
    if ((file.rc & 0xff) == SQLITE_NOTADB) return kNotOurs;
    if (file.rc != SQLITE_OK || integrity != QStringList{QStringLiteral("ok")}) return kDamaged;
    QStringList tables = file.column("SELECT lower(name) FROM sqlite_master WHERE type='table'");
    if (auto why = file.unreadable()) return why;
    if (!tables.contains(QStringLiteral("t_option"))) return kNotOurs;
    const QStringList version = file.column("SELECT Ver_ID FROM T_Option WHERE ID=3");
    if (auto why = file.unreadable()) return why;
    if (file.rc != SQLITE_OK) return kNotOurs;
    if (version.isEmpty()) return QStringLiteral("所选文件缺少选项记录，已经损坏，不能用它还原。");
    bool isNumber = false;
    const long v = version.first().toLong(&isNumber);
    if (isNumber && v > schema::kCurrentVersion)
        return QStringLiteral("所选文件来自更新版本的程序（数据版本 %1），本程序不能使用它。").arg(v);
    if (!isNumber || v < schema::kFirstVersion) return kNotOurs;
    for (const QString& table : schema::tables(v))
        if (!tables.contains(table.toLower()))
            return QStringLiteral("所选文件缺少数据表 %1，不能用它还原。").arg(table);
    return std::nullopt;
}

void DataFileCopies::restore(const QString& source) {
    if (const auto why = refusal(source)) throw DbError(*why);
    const QString live = s_.path();
    TemporaryFile incoming(live);
    {
        ReadOnlyFile from(source);
        vacuumInto(from.db, incoming.path);
    }
    // The data file as it was, in case the backup chosen was not the one wanted.
    writeCopy(s_.handle(), live + QStringLiteral(".bak"));
    // The data file as it is, under a second name, until the restored one is open: a disk that
    // fails at that moment must not leave the program without a data file it can open. Where
    // the disk has no links, the copy above is all there is.
    TemporaryFile previous(live);
    const bool linked = ::unlink(native(previous.path).constData()) == 0 &&
                        ::link(native(live).constData(), native(previous.path).constData()) == 0;
    s_.close();
    try {
        incoming.renameTo(live);
    } catch (const DbError&) {
        s_.open(live);
        throw;
    }
    try {
        s_.open(live);
    } catch (const DbError&) {
        if (!linked) throw;
        previous.renameTo(live);
        s_.open(live);
        throw;
    }
}

void DataFileCopies::keepDailyCopy(const QDate& today) {
    const QFileInfo live(s_.path());
    QDir folder(live.absolutePath());
    const QString sub = QStringLiteral("backups");
    if (!folder.exists(sub)) folder.mkdir(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!folder.cd(sub)) throw DbError(QStringLiteral("无法建立文件夹 %1").arg(folder.filePath(sub)));
    const QString base = live.completeBaseName() + QLatin1Char('-');
    writeCopy(s_.handle(),
              folder.filePath(base + today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".xkg")));
    const QRegularExpression dated(QLatin1Char('^') + QRegularExpression::escape(base) +
                                   QStringLiteral(R"(\d{8}\.xkg$)"));
    QStringList copies =
        folder.entryList({base + QStringLiteral("*.xkg")}, QDir::Files, QDir::Name).filter(dated);
    while (copies.size() > kDailyCopiesKept)
        folder.remove(copies.takeFirst());
}
