#pragma once
// A data file for a "large shop": thousands of goods, hundreds of thousands of movements
// over ten years, customers with their demands, suppliers and remembered keywords. Every
// movement is booked with the program's own stock arithmetic, so the ledger is consistent.
#include <QString>
#include <cstdint>

struct LargeShopSizes {
    int goods = 20000;
    int movements = 500000;
    int customers = 5000;
    int demands = 20000;
    int suppliers = 1000;
    int keywords = 2000;
    std::uint64_t seed = 20240601;
    int firstYear = 2015; // movements run from 1 January of this year ...
    int years = 10;       // ... for this many years
};

struct LargeShopSummary {
    int goods = 0;
    int purchases = 0;
    int sales = 0;
    int customers = 0;
    int demands = 0;
    int suppliers = 0;
    int keywords = 0;
    double stockValue = 0; // sum of ZCB
    QString firstDate;     // of the movements, "YYYY-MM-DD"
    QString lastDate;
};

// Creates the data file at `path` (which must not exist yet) and fills it. The same sizes
// and seed give the same file. Throws DbError.
LargeShopSummary GenerateLargeShop(const QString& path, const LargeShopSizes& sizes);
