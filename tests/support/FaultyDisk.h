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
    // Writes and syncs of any file; locks of the data file; deletions (the commit
    // of a rollback journal); opening files (the journal).
    enum class Op { Write, Sync, Lock, Delete, Open };

    FaultyDisk();
    ~FaultyDisk(); // every connection opened through it must be closed by then
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;

    // From now on the n-th operation of the kind (counting from 1) fails with `error`; with
    // `sticky`, every later one too.
    void failAt(Op op, int n, int error, bool sticky = false);
    void heal();
    bool failed() const; // whether an operation was failed since failAt

    // For the file layer: SQLITE_OK, or the error the operation is to fail with.
    int check(Op op);

private:
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

// Every table of the file as the system's file layer reads it (a journal left behind rolled
// back), rows in rowid order, each row "table|value|value…" (floats to 17 digits, so that any
// change shows), followed by "integrity: ok" or what the check says.
QStringList DumpFile(const QString& path);
