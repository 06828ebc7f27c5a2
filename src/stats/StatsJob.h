#pragma once
// A statistics computation on a thread of its own, reading the data file through a connection
// of its own: the window that waits for it keeps painting its progress bar and can be closed
// at any moment. No windows here.
#include "stats/Progress.h"

#include <QObject>
#include <QString>
#include <functional>

class QThread;
class Session;

class StatsJob : public QObject {
    Q_OBJECT
public:
    // Runs on the job's thread; false when it was stopped.
    using Work = std::function<bool(Session& session, Progress& progress)>;

    StatsJob(QString dataFile, Work work, QObject* parent = nullptr);
    // Stops the work and waits for its thread.
    ~StatsJob() override;

    void start();
    // The work stops soon after; `finished` is then never emitted.
    void stop() { progress_.stop(); }
    float fraction() const { return progress_.fraction(); }
    // Why the work failed: the data file's own message; empty when it did not fail.
    const QString& error() const { return error_; }

Q_SIGNALS:
    // On the thread that made the job, once the work is over and was not stopped; `error()`
    // says whether it failed.
    void finished();

private:
    void run();

    QString dataFile_;
    Work work_;
    Progress progress_;
    QString error_;
    QThread* thread_ = nullptr;
};
