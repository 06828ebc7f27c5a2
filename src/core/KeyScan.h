#pragma once
// The keys of a long list, read beside the window: the IDs of a statement's rows in its order,
// and the sum of one of its money columns, stepped through on a thread and a connection of
// their own, so that a search through millions of movements never stops the window. The
// other columns are never read, and the IDs are handed over in batches as they are found.
//
// The scan holds a read lock on the data file while it runs; a write through the session
// stops it first, and it then ends as Stopped (the list reads again once the write is done).
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "core/jet/JetTypes.h"

class Session;
struct sqlite3;
struct sqlite3_stmt;

class KeyScan {
public:
    enum class State { Running, Done, Failed, Stopped };

    // Starts reading. The statement must have an ID column; `moneyColumn` names the column to
    // sum, or is empty. `wake` is called from the scan's own thread once `wakeAt` rows have
    // been found, and when the scan ends. Throws DbError when the statement cannot be
    // translated or prepared.
    KeyScan(Session& session, const QString& jetSql, const QString& moneyColumn,
            std::function<void()> wake = {}, size_t wakeAt = 1);
    ~KeyScan();
    KeyScan(const KeyScan&) = delete;
    KeyScan& operator=(const KeyScan&) = delete;

    // Appends the IDs found since the last call. Done only once the last one is handed over.
    State take(std::vector<qlonglong>& ids);
    // Waits until `rows` IDs have been found or the scan has ended, at most `ms`.
    void waitFor(size_t rows, int ms);
    // The sum of the money column, added up in the rows' order; complete once Done.
    double total() const;
    QString error() const;
    // Ends the scan at once; one still running ends as Stopped.
    void stop();

private:
    friend class Session;
    void run();
    static int busy(void* self, int tries);

    Session* session_; // none once the session has closed
    sqlite3* db_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
    std::vector<jet::JetType> types_;
    QString moneyColumn_;
    std::function<void()> wake_;
    size_t wakeAt_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<qlonglong> found_; // not yet taken
    size_t count_ = 0;             // found so far
    State state_ = State::Running;
    double total_ = 0;
    QString error_;
};
