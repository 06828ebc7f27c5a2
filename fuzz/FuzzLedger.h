#pragma once
// What the fuzz targets that run statements share: a small ledger made once per process,
// an open session on it, and a budget per statement so that no input (a join of every
// movement with every movement) can run for minutes.
#include "core/Session.h"

#include <QString>
#include <memory>

class FuzzLedger {
public:
    // The ledger of this process, made on first use.
    static FuzzLedger& instance();

    Session& session() { return session_; }
    // Opens the data file again: after a statement that changed the tables was rolled back,
    // the session's catalogue no longer matches the file.
    void reopen();

    // Each statement may run this many steps of SQLite's machine, then it is interrupted.
    void startBudget();
    bool budgetSpent() const { return ticks_ > kTicks; }
    void stopBudget();

private:
    FuzzLedger();
    static int tick(void* self);

    static constexpr int kTicks = 300; // of 1000 steps each
    int ticks_ = 0;
    ScriptedMessageBoxes boxes_;
    Session session_{boxes_};
    QString path_;
};

// The fuzzer's bytes as the text an operator could have typed or pasted.
QString fuzzText(const uint8_t* data, size_t size);
