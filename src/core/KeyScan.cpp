#include "core/KeyScan.h"

#include "core/Session.h"
#include "core/SqliteReason.h"
#include "core/StatementRows.h"

#include <chrono>
#include <sqlite3.h>

KeyScan::KeyScan(Session& session, const QString& jetSql, const QString& moneyColumn,
                 std::function<void()> wake, size_t wakeAt)
    : session_(&session), moneyColumn_(moneyColumn), wake_(std::move(wake)), wakeAt_(wakeAt) {
    if (!session.translator_) throw DbError(QStringLiteral("数据文件没有打开"));
    // Only the keys: the looked-up names of the rows are not fetched at all. The statement's
    // own order stands, as its ORDER BY is kept by the outer select.
    const QString keys = QStringLiteral("select ID") +
                         (moneyColumn.isEmpty() ? QString() : QStringLiteral(",") + moneyColumn) +
                         QStringLiteral(" from (") + jetSql + QStringLiteral(")");
    const jet::Translation& t = session.translator_->translate(keys);
    types_ = t.columnTypes;
    db_ = session.takeReader();
    if (sqlite3_prepare_v3(db_, t.sql.c_str(), int(t.sql.size()), 0, &st_, nullptr) != SQLITE_OK || !st_) {
        const QString why = SqliteReason(db_);
        session.returnReader(db_);
        throw DbError(QStringLiteral("数据库拒绝了语句：%1").arg(why));
    }
    // A write of the session holds the file only for a moment; a stop must not wait for it.
    sqlite3_busy_handler(db_, &KeyScan::busy, this);
    session.scans_.push_back(this);
    thread_ = std::thread([this] { run(); });
}

KeyScan::~KeyScan() {
    stop();
    sqlite3_finalize(st_);
    sqlite3_busy_handler(db_, nullptr, nullptr);
    if (session_) {
        std::erase(session_->scans_, this);
        session_->returnReader(db_);
    } else {
        sqlite3_close_v2(db_);
    }
}

int KeyScan::busy(void* self, int tries) {
    if (static_cast<KeyScan*>(self)->stopping_ || tries >= 400) return 0;
    sqlite3_sleep(5);
    return 1;
}

void KeyScan::run() {
    using Clock = std::chrono::steady_clock;
    std::vector<qlonglong> batch;
    double total = 0;
    auto handOver = [&](State end) {
        bool wake = end != State::Running;
        {
            std::lock_guard lock(mutex_);
            wake = wake || (count_ < wakeAt_ && count_ + batch.size() >= wakeAt_);
            found_.insert(found_.end(), batch.begin(), batch.end());
            count_ += batch.size();
            batch.clear();
            if (end != State::Running && state_ == State::Running) {
                state_ = end;
                total_ = total;
            }
            changed_.notify_all();
        }
        if (wake && wake_) wake_();
    };
    try {
        StatementRows rows(db_, st_, types_);
        const int id = rows.columnIndex(QStringLiteral("ID"));
        const int money = moneyColumn_.isEmpty() ? -1 : rows.columnIndex(moneyColumn_);
        // The first rows go over at once, the later ones in batches.
        auto last = Clock::now();
        while (rows.next()) {
            batch.push_back(rows.id(id));
            if (money >= 0) total += rows.number(money);
            // A row found after a long stretch without one goes over at once.
            if (batch.size() >= 4096 || Clock::now() - last > std::chrono::milliseconds(10)) {
                handOver(State::Running);
                last = Clock::now();
            }
        }
        handOver(State::Done);
    } catch (const DbError& e) {
        {
            std::lock_guard lock(mutex_);
            if (state_ == State::Running) {
                state_ = stopping_ ? State::Stopped : State::Failed;
                error_ = e.text;
            }
            changed_.notify_all();
        }
        if (wake_) wake_();
    }
    // Ends the read, and with it the lock on the file.
    sqlite3_reset(st_);
}

KeyScan::State KeyScan::take(std::vector<qlonglong>& ids) {
    std::lock_guard lock(mutex_);
    ids.insert(ids.end(), found_.begin(), found_.end());
    found_.clear();
    return state_;
}

void KeyScan::waitFor(size_t rows, int ms) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(ms),
                      [&] { return state_ != State::Running || count_ >= rows; });
}

double KeyScan::total() const {
    std::lock_guard lock(mutex_);
    return total_;
}

QString KeyScan::error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

void KeyScan::stop() {
    stopping_ = true;
    if (db_) sqlite3_interrupt(db_);
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    if (state_ == State::Running) state_ = State::Stopped;
}
