#pragma once
// Initialisation empties the business data and resets the options: the ledger's first day.
// It must be unlocked in the settings first, and every attempt uses the unlock up; then the
// administrator password and two questions guard it. Everything is deleted and reset, and the
// log line written, in one transaction, so a failure leaves the data as it was.
#include <QString>

class Session;

class DataInitialisation {
public:
    explicit DataInitialisation(Session& session) : s_(session) {}
    // One attempt with the password typed. True when the ledger was initialised; the session's
    // status text is then "初始化完成" and the program is to end.
    bool attempt(const QString& password);

private:
    void log(const QString& line);

    Session& s_;
};
