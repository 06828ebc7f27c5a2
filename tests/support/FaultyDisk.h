#pragma once
// A disk that fails when a test says so: a SQLite file layer over the system's own, the default
// for every connection opened while it lives. It fails the n-th file operation of one kind, once
// or (as a full disk does) every time from then on. Syncs are counted and failed but never sent
// to the disk: no test here pulls the power, and none should wait for the disk.
#include <QString>
#include <QStringList>
#include <mutex>
#include <sqlite3.h>

class FaultyDisk {
public:
    // Writes, syncs and truncations of any file; locks of the data file; deletions (the commit
    // of a rollback journal); opening files (the journal).
    enum class Op { Write, Sync, Truncate, Lock, Delete, Open };

    FaultyDisk();
    ~FaultyDisk(); // every connection opened through it must be closed by then
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;

    // From now on the n-th operation of the kind (counting from 1) fails with `error`; with
    // `sticky`, every later one too.
    void failAt(Op op, int n, int error, bool sticky = false);
    void heal();
    int count() const;   // operations of the kind since failAt
    bool failed() const; // whether one of them was failed

    // A connection straight on the system's file layer, with the program's collation (its
    // indexes need it): for looking at a file as it is on the disk.
    static sqlite3* openPlain(const QString& path);

    // For the file layer: SQLITE_OK, or the error the operation is to fail with.
    int check(Op op);

private:
    static int open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags);
    static int remove(sqlite3_vfs* vfs, const char* name, int syncDir);

    sqlite3_vfs* real_;
    sqlite3_vfs vfs_{};
    mutable std::mutex mutex_; // list streams read on a thread of their own
    Op op_ = Op::Write;
    int n_ = 0; // 0: healthy
    int error_ = SQLITE_OK;
    bool sticky_ = false;
    int count_ = 0;
    bool failed_ = false;
};

// Every table of the file, rows in rowid order, each row "table|value|value…" (floats to 17
// digits, so that any change shows), followed by "integrity: ok" or what the check says.
QStringList DumpFile(const QString& path);
