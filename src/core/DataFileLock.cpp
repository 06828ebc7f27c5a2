#include "core/DataFileLock.h"

#include <QFileInfo>
#include <QLockFile>

namespace {

QString lockPath(const QString& dataFile) {
    const QFileInfo info(dataFile);
    const QString real = info.canonicalFilePath(); // empty when there is no such file yet
    return (real.isEmpty() ? info.absoluteFilePath() : real) + QStringLiteral(".lock");
}

} // namespace

DataFileLock::DataFileLock(const QString& dataFile)
    : path_(lockPath(dataFile)), lock_(std::make_unique<QLockFile>(path_)) {
    // A window stays open for days: age alone never makes a lock stale, only a holder that is
    // no longer running on this machine.
    lock_->setStaleLockTime(0);
}

DataFileLock::~DataFileLock() = default;

DataFileLock::Outcome DataFileLock::take() {
    if (lock_->tryLock(0)) return Outcome::Taken;
    return lock_->error() == QLockFile::LockFailedError ? Outcome::InUse : Outcome::NotWritable;
}
