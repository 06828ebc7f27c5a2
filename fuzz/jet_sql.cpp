// Statement text -> the SQL layer: translated and run on a small ledger inside a savepoint
// that is rolled back, so every input meets the same data. A query is also run as it is
// emitted without the faster forms: both must give the same rows.
#include "FuzzLedger.h"

#include "core/jet/Translator.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

// The rows of translated SQL, one text per row, in order; nullopt when SQLite refuses it or it
// fails while running.
std::optional<Rows> runNative(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &st, nullptr) != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        return std::nullopt;
    }
    Rows rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            char number[40];
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL:
                row += "<null>";
                break;
            case SQLITE_FLOAT:
                // Sums added in another order may differ in the last bits.
                std::snprintf(number, sizeof number, "%.12g", sqlite3_column_double(st, c));
                row += number;
                break;
            default:
                row.append(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                           size_t(sqlite3_column_bytes(st, c)));
            }
            row += '|';
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) return std::nullopt;
    return rows;
}

[[noreturn]] void differ(const QString& jetSql, const std::string& fast, const std::string& plain,
                         size_t nFast, size_t nPlain) {
    std::fprintf(stderr, "faster form changes the rows (%zu against %zu)\nJet:   %s\nfast:  %s\nplain: %s\n",
                 nFast, nPlain, jetSql.toStdString().c_str(), fast.c_str(), plain.c_str());
    std::abort();
}

void compareForms(FuzzLedger& ledger, const QString& jetSql) {
    Session& session = ledger.session();
    std::string fast, plain;
    try {
        jet::Translator withForms(session.catalog(), true), without(session.catalog(), false);
        const jet::Translation& a = withForms.translate(jetSql);
        if (a.columnTypes.empty()) return; // not a query
        fast = a.sql;
        plain = without.translate(jetSql).sql;
    } catch (const jet::JetError&) {
        return;
    }
    ledger.startBudget();
    auto rowsFast = runNative(session.handle(), fast);
    const bool fastSpent = ledger.budgetSpent();
    ledger.startBudget();
    auto rowsPlain = runNative(session.handle(), plain);
    const bool plainSpent = ledger.budgetSpent();
    ledger.stopBudget();
    if (fastSpent || plainSpent) return;
    if (rowsFast.has_value() != rowsPlain.has_value())
        differ(jetSql, fast, plain, rowsFast ? rowsFast->size() : 0, rowsPlain ? rowsPlain->size() : 0);
    if (!rowsFast) return;
    // Which rows "top n" keeps among equals, and the order of rows no "order by" fixes, are
    // the engine's choice: compare what is certain.
    static const QRegularExpression top(QStringLiteral("\\btop\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (jetSql.contains(top)) {
        if (rowsFast->size() != rowsPlain->size())
            differ(jetSql, fast, plain, rowsFast->size(), rowsPlain->size());
        return;
    }
    std::sort(rowsFast->begin(), rowsFast->end());
    std::sort(rowsPlain->begin(), rowsPlain->end());
    if (*rowsFast != *rowsPlain) differ(jetSql, fast, plain, rowsFast->size(), rowsPlain->size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzLedger& ledger = FuzzLedger::instance();
    Session& session = ledger.session();
    const QString jetSql = fuzzText(data, size);

    bool schemaChanged = false;
    try {
        jet::Translator t(session.catalog());
        schemaChanged = t.translate(jetSql).changesSchema;
    } catch (const jet::JetError&) {
    }
    session.execNative(QStringLiteral("SAVEPOINT fuzz"));
    ledger.startBudget();
    try {
        session.query(jetSql);
    } catch (const jet::JetError&) {
        // A readable refusal is what bad text must get.
    }
    ledger.stopBudget();
    compareForms(ledger, jetSql);
    session.execNative(QStringLiteral("ROLLBACK TO fuzz; RELEASE fuzz"));
    if (schemaChanged) ledger.reopen();
    return 0;
}
