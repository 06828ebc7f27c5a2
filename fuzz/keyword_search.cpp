// Keyword text -> the search condition, run in the search statement of each tab of the main
// window. Whatever is typed into the search box, a search gives rows or none: never an error
// of the SQL layer, and never more rows than the tab holds.
#include "FuzzLedger.h"

#include "mainwindow/ListViews.h"

#include <array>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzLedger& ledger = FuzzLedger::instance();
    Session& session = ledger.session();
    static const std::array<int, listviews::kTabCount> rowsOfTab = [&] {
        std::array<int, listviews::kTabCount> n{};
        for (int tab = 0; tab < listviews::kTabCount; ++tab)
            n[size_t(tab)] = session.query(listviews::baseStatement(tab)).rowCount();
        return n;
    }();
    const QString keywords = fuzzText(data, size);
    for (int tab = 0; tab < listviews::kTabCount; ++tab) {
        const QString sql = listviews::searchStatement(tab, keywords);
        ledger.startBudget();
        try {
            const int rows = session.query(sql).rowCount();
            if (rows > rowsOfTab[size_t(tab)]) {
                std::fprintf(stderr, "search found %d rows of %d\n%s\n", rows, rowsOfTab[size_t(tab)],
                             sql.toStdString().c_str());
                std::abort();
            }
        } catch (const jet::JetError& e) {
            if (!ledger.budgetSpent()) {
                std::fprintf(stderr, "search refused: %s\n%s\n", e.what(), sql.toStdString().c_str());
                std::abort();
            }
        }
        ledger.stopBudget();
    }
    return 0;
}
