#include "FaultyDisk.h"

#include "TestFixture.h"
#include "core/jet/Translator.h"

#include <QFile>
#include <QStringList>
#include <stdexcept>

namespace {

using Op = FaultyDisk::Op;
using Methods = sqlite3_io_methods;

// One open file: the system's own file follows this header in the same block.
struct FaultyFile {
    sqlite3_file base;
    FaultyDisk* disk;
    sqlite3_file* real;
};

// A method of the file layer passed on to the system's file, unless the disk fails it as one
// of the kind `fails` (none or one).
template <auto method, Op... fails> struct Pass;
template <class R, class... A, R (*Methods::*method)(sqlite3_file*, A...), Op... fails>
struct Pass<method, fails...> {
    static R call(sqlite3_file* f, A... a) {
        const auto* file = reinterpret_cast<FaultyFile*>(f);
        if constexpr (sizeof...(fails) > 0)
            if (const int rc = file->disk->check(fails...)) return rc;
        return (file->real->pMethods->*method)(file->real, a...);
    }
};

int syncNever(sqlite3_file* f, int) {
    return reinterpret_cast<FaultyFile*>(f)->disk->check(Op::Sync);
}

const Methods kMethods = {3,
                          Pass<&Methods::xClose>::call,
                          Pass<&Methods::xRead>::call,
                          Pass<&Methods::xWrite, Op::Write>::call,
                          Pass<&Methods::xTruncate>::call,
                          syncNever,
                          Pass<&Methods::xFileSize>::call,
                          Pass<&Methods::xLock, Op::Lock>::call,
                          Pass<&Methods::xUnlock>::call,
                          Pass<&Methods::xCheckReservedLock>::call,
                          Pass<&Methods::xFileControl>::call,
                          Pass<&Methods::xSectorSize>::call,
                          Pass<&Methods::xDeviceCharacteristics>::call,
                          Pass<&Methods::xShmMap>::call,
                          Pass<&Methods::xShmLock>::call,
                          Pass<&Methods::xShmBarrier>::call,
                          Pass<&Methods::xShmUnmap>::call,
                          Pass<&Methods::xFetch>::call,
                          Pass<&Methods::xUnfetch>::call};

} // namespace

FaultyDisk::FaultyDisk() : real_(sqlite3_vfs_find("unix")) {
    if (!real_) throw std::runtime_error("no unix VFS");
    vfs_ = *real_;
    vfs_.szOsFile = int(sizeof(FaultyFile)) + real_->szOsFile;
    vfs_.zName = "faulty";
    vfs_.pAppData = this;
    vfs_.pNext = nullptr;
    // The other calls of the layer below never look at the layer they are called through.
    vfs_.xOpen = [](sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
        auto* self = static_cast<FaultyDisk*>(vfs->pAppData);
        auto* f = reinterpret_cast<FaultyFile*>(file);
        f->base.pMethods = nullptr;
        if (const int rc = self->check(Op::Open)) return rc;
        f->disk = self;
        f->real = reinterpret_cast<sqlite3_file*>(f + 1);
        const int rc = self->real_->xOpen(self->real_, name, f->real, flags, outFlags);
        if (f->real->pMethods) f->base.pMethods = &kMethods;
        return rc;
    };
    vfs_.xDelete = [](sqlite3_vfs* vfs, const char* name, int) {
        auto* self = static_cast<FaultyDisk*>(vfs->pAppData);
        if (const int rc = self->check(Op::Delete)) return rc;
        return self->real_->xDelete(self->real_, name, 0); // the folder is not synced either
    };
    sqlite3_vfs_register(&vfs_, 1);
}

FaultyDisk::~FaultyDisk() {
    sqlite3_vfs_unregister(&vfs_);
    sqlite3_vfs_register(real_, 1);
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

bool FaultyDisk::failed() const {
    std::lock_guard lock(mutex_);
    return failed_;
}

QStringList DumpFile(const QString& path) {
    sqlite3* db = nullptr;
    // Read and write: a journal left behind is rolled back as any later start would.
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, "unix");
    jet::registerFunctions(db); // the program's collation: its indexes need it
    QStringList lines;
    for (const QString& table :
         sqliteRows(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"))
        for (const QString& row : sqliteRows(db, "SELECT * FROM \"" + table + "\" ORDER BY rowid", true))
            lines << table + '|' + row;
    for (const QString& check : sqliteRows(db, "PRAGMA integrity_check"))
        lines << "integrity: " + check;
    sqlite3_close_v2(db);
    return lines;
}
