#include "FuzzLedger.h"

#include "LargeShop.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

FuzzLedger& FuzzLedger::instance() {
    static FuzzLedger ledger;
    return ledger;
}

FuzzLedger::FuzzLedger() {
    // The folder outlives every input and goes with the process.
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        std::abort();
    }
    path_ = dir.filePath(QStringLiteral("DBvost.mdb"));
    // A shop small enough that most joins finish within the budget, with every table filled.
    LargeShopSizes sizes;
    sizes.goods = 25;
    sizes.movements = 300;
    sizes.customers = 12;
    sizes.demands = 30;
    sizes.suppliers = 6;
    sizes.keywords = 8;
    sizes.years = 2;
    GenerateLargeShop(path_, sizes);
    reopen();
}

void FuzzLedger::reopen() {
    session_.close();
    session_.open(path_);
    // Texts and blobs beyond a megabyte are refused instead of filling the memory.
    sqlite3_limit(session_.handle(), SQLITE_LIMIT_LENGTH, 1 << 20);
}

int FuzzLedger::tick(void* self) {
    return ++static_cast<FuzzLedger*>(self)->ticks_ > kTicks;
}

void FuzzLedger::startBudget() {
    ticks_ = 0;
    sqlite3_progress_handler(session_.handle(), 1000, &FuzzLedger::tick, this);
}

void FuzzLedger::stopBudget() {
    sqlite3_progress_handler(session_.handle(), 0, nullptr, nullptr);
}

QString fuzzText(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}
