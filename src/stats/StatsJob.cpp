#include "stats/StatsJob.h"

#include "core/MessageBoxes.h"
#include "core/Session.h"

#include <QThread>
#include <exception>

namespace {

// The job's connection never asks or tells the operator anything.
class NoBoxes : public MessageBoxes {
public:
    void information(const QString&, const QString&) override {}
    void warning(const QString&, const QString&) override {}
    void critical(const QString&, const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
};

} // namespace

StatsJob::StatsJob(QString dataFile, Work work, QObject* parent)
    : QObject(parent), dataFile_(std::move(dataFile)), work_(std::move(work)) {}

StatsJob::~StatsJob() {
    if (!thread_) return;
    stop();
    thread_->wait();
    delete thread_;
}

void StatsJob::start() {
    if (thread_) return;
    thread_ = QThread::create([this] { run(); });
    // Delivered on this object's thread, after the work's connection is closed.
    connect(thread_, &QThread::finished, this, [this] {
        if (!progress_.stopped()) Q_EMIT finished();
    });
    thread_->start();
}

void StatsJob::run() {
    try {
        NoBoxes boxes;
        Session session(boxes);
        session.open(dataFile_);
        work_(session, progress_);
    } catch (const DbError& e) {
        error_ = e.text;
    } catch (const std::exception& e) {
        error_ = QString::fromStdString(e.what());
    }
}
