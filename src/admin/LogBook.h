#pragma once
// The operation log as the administrator reads and empties it.
#include <QString>
#include <functional>

class Session;

struct LogRecord {
    qlonglong ID = 0;
    QString RQ; // "yyyy-m-d H:mm:ss", the time left out at midnight
    QString cc;
};

class LogBook {
public:
    explicit LogBook(Session& session) : s_(session) {}
    // Every line in the order of its identifier, straight from the data file. Throws DbError.
    void read(const std::function<void(LogRecord&&)>& add);
    // Empties the log and writes the line that says so, in one transaction: the log afterwards
    // holds exactly that line. Tells the operator; false when the data file refused.
    bool clear();

private:
    Session& s_;
};
