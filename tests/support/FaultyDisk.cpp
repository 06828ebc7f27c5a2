#include "FaultyDisk.h"

#include "core/jet/Translator.h"

#include <QFile>
#include <QStringList>
#include <functional>
#include <stdexcept>

namespace {

// One open file: the system's own file follows this header in the same block.
struct FaultyFile {
    sqlite3_file base;
    FaultyDisk* disk;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* f) {
    return reinterpret_cast<FaultyFile*>(f)->real;
}

int guarded(sqlite3_file* f, FaultyDisk::Op op) {
    return reinterpret_cast<FaultyFile*>(f)->disk->check(op);
}

int fileClose(sqlite3_file* f) {
    return real(f)->pMethods->xClose(real(f));
}
int fileRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 at) {
    return real(f)->pMethods->xRead(real(f), buf, n, at);
}
int fileWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at) {
    if (const int rc = guarded(f, FaultyDisk::Op::Write)) return rc;
    return real(f)->pMethods->xWrite(real(f), buf, n, at);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    if (const int rc = guarded(f, FaultyDisk::Op::Truncate)) return rc;
    return real(f)->pMethods->xTruncate(real(f), size);
}
int fileSync(sqlite3_file* f, int) {
    return guarded(f, FaultyDisk::Op::Sync);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    return real(f)->pMethods->xFileSize(real(f), size);
}
int fileLock(sqlite3_file* f, int level) {
    if (const int rc = guarded(f, FaultyDisk::Op::Lock)) return rc;
    return real(f)->pMethods->xLock(real(f), level);
}
int fileUnlock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xUnlock(real(f), level);
}
int fileReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int fileSectorSize(sqlite3_file* f) {
    return real(f)->pMethods->xSectorSize(real(f));
}
int fileCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int fileShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* f) {
    real(f)->pMethods->xShmBarrier(real(f));
}
int fileShmUnmap(sqlite3_file* f, int deleteFlag) {
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
int fileFetch(sqlite3_file* f, sqlite3_int64 at, int n, void** out) {
    return real(f)->pMethods->xFetch(real(f), at, n, out);
}
int fileUnfetch(sqlite3_file* f, sqlite3_int64 at, void* p) {
    return real(f)->pMethods->xUnfetch(real(f), at, p);
}

const sqlite3_io_methods kMethods = {3,
                                     fileClose,
                                     fileRead,
                                     fileWrite,
                                     fileTruncate,
                                     fileSync,
                                     fileSize,
                                     fileLock,
                                     fileUnlock,
                                     fileReservedLock,
                                     fileControl,
                                     fileSectorSize,
                                     fileCharacteristics,
                                     fileShmMap,
                                     fileShmLock,
                                     fileShmBarrier,
                                     fileShmUnmap,
                                     fileFetch,
                                     fileUnfetch};

} // namespace

FaultyDisk::FaultyDisk() : real_(sqlite3_vfs_find("unix")) {
    if (!real_) throw std::runtime_error("no unix VFS");
    vfs_ = *real_;
    vfs_.szOsFile = int(sizeof(FaultyFile)) + real_->szOsFile;
    vfs_.zName = "faulty";
    vfs_.pAppData = this;
    vfs_.pNext = nullptr;
    vfs_.xOpen = &FaultyDisk::open;
    vfs_.xDelete = &FaultyDisk::remove;
    // The other calls of the layer below never look at the layer they are called through.
    sqlite3_vfs_register(&vfs_, 1);
}

FaultyDisk::~FaultyDisk() {
    sqlite3_vfs_unregister(&vfs_);
    sqlite3_vfs_register(real_, 1);
}

int FaultyDisk::open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* self = static_cast<FaultyDisk*>(vfs->pAppData);
    auto* f = reinterpret_cast<FaultyFile*>(file);
    f->base.pMethods = nullptr;
    if (const int rc = self->check(Op::Open)) return rc;
    f->disk = self;
    f->real = reinterpret_cast<sqlite3_file*>(f + 1);
    const int rc = self->real_->xOpen(self->real_, name, f->real, flags, outFlags);
    if (f->real->pMethods) f->base.pMethods = &kMethods;
    return rc;
}

int FaultyDisk::remove(sqlite3_vfs* vfs, const char* name, int) {
    auto* self = static_cast<FaultyDisk*>(vfs->pAppData);
    if (const int rc = self->check(Op::Delete)) return rc;
    return self->real_->xDelete(self->real_, name, 0); // the folder is not synced either
}

int FaultyDisk::check(Op op) {
    std::lock_guard lock(mutex_);
    if (n_ == 0 || op != op_) return SQLITE_OK;
    ++count_;
    if (count_ < n_ || (count_ > n_ && !sticky_)) return SQLITE_OK;
    failed_ = true;
    return error_;
}

void FaultyDisk::failAt(Op op, int n, int error, bool sticky) {
    std::lock_guard lock(mutex_);
    op_ = op;
    n_ = n;
    error_ = error;
    sticky_ = sticky;
    count_ = 0;
    failed_ = false;
}

void FaultyDisk::heal() {
    std::lock_guard lock(mutex_);
    n_ = 0;
}

int FaultyDisk::count() const {
    std::lock_guard lock(mutex_);
    return count_;
}

bool FaultyDisk::failed() const {
    std::lock_guard lock(mutex_);
    return failed_;
}

sqlite3* FaultyDisk::openPlain(const QString& path) {
    sqlite3* db = nullptr;
    // Read and write: a journal left behind is rolled back as any later start would.
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, "unix");
    jet::registerFunctions(db);
    return db;
}

QStringList DumpFile(const QString& path) {
    sqlite3* db = FaultyDisk::openPlain(path);
    QStringList lines;
    auto each = [&](const QString& sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            lines << QString::fromUtf8(sqlite3_errmsg(db));
            return;
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            row(st);
        if (rc != SQLITE_DONE) lines << QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    };
    QStringList tables;
    each("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name", [&](sqlite3_stmt* st) {
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    });
    for (const QString& table : tables)
        each("SELECT * FROM \"" + table + "\" ORDER BY rowid", [&](sqlite3_stmt* st) {
            QString line = table;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                line += '|';
                if (sqlite3_column_type(st, c) == SQLITE_FLOAT)
                    line += QString::number(sqlite3_column_double(st, c), 'g', 17);
                else if (sqlite3_column_type(st, c) == SQLITE_NULL)
                    line += "<null>";
                else
                    line += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            }
            lines << line;
        });
    each("PRAGMA integrity_check", [&](sqlite3_stmt* st) {
        lines << "integrity: " + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    });
    sqlite3_close_v2(db);
    return lines;
}
