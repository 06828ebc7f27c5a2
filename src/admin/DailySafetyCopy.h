#pragma once
// The automatic safety copy of a windowed run: at a normal exit after any change, the day's
// copy of the data file in "backups" beside it. It never holds up the exit: a failure is only
// written to the operation log.
#include <QDate>

class Session;

class DailySafetyCopy {
public:
    // Counts the changes made so far (the login's own log line among them).
    explicit DailySafetyCopy(Session& session);
    // A run that initialised or restored the data ends at once, without a copy.
    void atExit(const QDate& today = QDate::currentDate());

private:
    Session& s_;
    long long changesBefore_ = 0;
};
