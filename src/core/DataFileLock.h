#pragma once
// One program at a time writes a data file: a lock file beside it ("<data file>.lock") names the
// process, machine and boot that hold it. A lock whose holder is gone (killed, a power cut) is
// taken over; a live holder's lock is never broken, however long it has been held.
#include <QString>
#include <memory>

class QLockFile;

class DataFileLock {
public:
    enum class Outcome {
        Taken,
        InUse,      // another run of the program holds it
        NotWritable // the data file's folder cannot hold the lock file
    };

    explicit DataFileLock(const QString& dataFile);
    ~DataFileLock(); // releases it
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

    // Tries once, without waiting.
    Outcome take();
    // The lock file: beside the file itself when the data file's name is a symbolic link.
    QString path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
