// Keyword searches of the stock ledger and the sales records on a large shop: the statement
// the main window builds, run through the Jet SQL layer, against a hand-written SQLite query
// that returns the same rows.
//   bench_jet <file.mdb> [--reps N] [--one TEXT] [--two TEXT]
#include "core/KeywordSearch.h"
#include "core/Session.h"
#include "core/jet/Translator.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <time.h>
#include <vector>

namespace {

const QString kStockBase =
    QStringLiteral("select ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ order by MC,XH");
const QString kStockFields =
    QStringLiteral("LSJ & ',' & MC & ',' & JC & ',' & XH  & ','  & KW & ','  & KCmin & ',' &  ZKC ");
const QString kSalesBase = QStringLiteral(
    "select ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH from T_TZ where "
    "ID=T_IO.TZID) as SPMC ,(select KHMC & '/' & KHZL from T_KH where ID=T_IO.JXID) as KHZL ,(select KHXQ "
    "from T_KH_XQ where ID=T_IO.KHXQID) as KHXQ  from T_IO where TZID>0 order by RQ desc");
const QString kSalesFields = QStringLiteral(
    "RQ & ',' & SL & ',' & ZJE & ',' & GZJE  & ','  & BZ & ','  & SPMC & ',' &  KHZL  & ',' &  KHXQ");

// The keywords the main window's search would use: split at commas, empty pieces skipped.
QStringList keywordsOf(const QString& text) {
    QStringList out;
    for (const QString& piece : text.split(QLatin1Char(',')))
        if (!piece.isEmpty()) out << piece;
    return out;
}

std::string quoted(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return "'" + t.toStdString() + "'";
}

// Hand-written SQLite. Numbers as CStr shows them ("%.15g" of SQLite's printf; the letter
// case of an exponent does not matter to a case-blind search), dates without leading zeros,
// Null parts as "" and a missing partner row as Null.
std::string num(const std::string& col) {
    return "iif(" + col + " is null,'',printf('%.15g'," + col + "))";
}
std::string txt(const std::string& col) {
    return "ifnull(" + col + ",'')";
}
std::string dateText(const std::string& col) {
    return "ifnull(substr(" + col + ",1,5)||ltrim(substr(" + col + ",6,2),'0')||'-'||ltrim(substr(" + col +
           ",9,2),'0'),'')";
}
std::string contains(const std::string& joined, const QStringList& keywords) {
    std::string where;
    for (const QString& k : keywords)
        where += (where.empty() ? "" : " and ") + ("instr(lower(" + joined + "),lower(" + quoted(k) + "))>0");
    return where;
}

std::string handStock(const QStringList& keywords) {
    const std::string joined = num("LSJ") + "||','||" + txt("MC") + "||','||" + txt("JC") + "||','||" +
                               txt("XH") + "||','||" + txt("KW") + "||','||" + num("KCmin") + "||','||" +
                               num("ZKC");
    return "select ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ where " + contains(joined, keywords) +
           " order by MC collate PINYIN, XH collate PINYIN";
}

std::string handSales(const QStringList& keywords) {
    const std::string spmc =
        "iif(g.ID is null,null," + txt("g.MC") + "||'/'||" + txt("g.JC") + "||'/'||" + txt("g.XH") + ")";
    const std::string khzl = "iif(k.ID is null,null," + txt("k.KHMC") + "||'/'||" + txt("k.KHZL") + ")";
    const std::string joined = dateText("m.RQ") + "||','||" + num("m.SL") + "||','||" + num("m.ZJE") +
                               "||','||" + num("m.GZJE") + "||','||" + txt("m.BZ") + "||','||" + txt(spmc) +
                               "||','||" + txt(khzl) + "||','||" + txt("d.KHXQ");
    return "select m.ID,m.TZID,m.RQ,m.SL,m.ZJE,m.GZJE,m.JXID,m.KHXQID,m.BZ," + spmc + " as SPMC," + khzl +
           " as KHZL,d.KHXQ as KHXQ from T_IO m left join T_TZ g on g.ID=m.TZID left join T_KH k on "
           "k.ID=m.JXID left join T_KH_XQ d on d.ID=m.KHXQID where m.TZID>0 and " +
           contains(joined, keywords) + " order by m.RQ desc";
}

// Steps a native statement and reads every column of every row, as a program would keep them.
struct NativeResult {
    std::vector<std::vector<QVariant>> rows;
};

NativeResult runNative(sqlite3* db, sqlite3_stmt* st) {
    NativeResult r;
    const int n = sqlite3_column_count(st);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(size_t(n));
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                row.emplace_back(qlonglong(sqlite3_column_int64(st, c)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(st, c));
                break;
            case SQLITE_NULL:
                row.emplace_back();
                break;
            default:
                row.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                                   sqlite3_column_bytes(st, c)));
            }
        }
        r.rows.push_back(std::move(row));
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "bench_jet: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    return r;
}

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v3(db, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "bench_jet: %s\n  in %s\n", sqlite3_errmsg(db), sql.c_str());
        std::exit(1);
    }
    return st;
}

// CPU time of the process: the machine may be shared, and waiting for a core is not the
// statement's cost. Wall time is kept beside it.
struct Times {
    std::vector<double> cpu, wall;
};

double cpuMillis() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void measure(Times& times, const std::function<void()>& f) {
    const double c0 = cpuMillis();
    const auto t0 = std::chrono::steady_clock::now();
    f();
    times.wall.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    times.cpu.push_back(cpuMillis() - c0);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::vector<qlonglong> sortedIds(const std::vector<std::vector<QVariant>>& rows) {
    std::vector<qlonglong> ids;
    for (const auto& row : rows)
        ids.push_back(row.at(0).toLongLong());
    std::sort(ids.begin(), ids.end());
    return ids;
}

void explain(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = prepare(db, "explain query plan " + sql);
    while (sqlite3_step(st) == SQLITE_ROW)
        std::printf("      %s\n", reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
}

struct Case {
    const char* name;
    QString base, fields, keywords;
    std::function<std::string(const QStringList&)> hand;
};

} // namespace

int main(int argc, char** argv) {
    QString path, one = QStringLiteral("螺栓"), two = QStringLiteral("不锈钢,M8");
    QString salesTwo = QStringLiteral("不锈钢,2019-");
    int reps = 7;
    bool plans = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plans")
            plans = true;
        else if (arg == "--reps" && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--one" && i + 1 < argc)
            one = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--two" && i + 1 < argc)
            two = salesTwo = QString::fromLocal8Bit(argv[++i]);
        else if (arg.rfind("--", 0) != 0 && path.isEmpty())
            path = QString::fromLocal8Bit(argv[i]);
        else {
            std::fprintf(stderr,
                         "usage: bench_jet <file.mdb> [--reps N] [--one TEXT] [--two TEXT] [--plans]\n");
            return 2;
        }
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: bench_jet <file.mdb> [--reps N] [--one TEXT] [--two TEXT] [--plans]\n");
        return 2;
    }

    ScriptedMessageBoxes boxes;
    Session session(boxes);
    try {
        session.open(path);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_jet: %s\n", qPrintable(e.text));
        return 1;
    }
    sqlite3* db = session.handle();
    jet::Translator translator(session.catalog());

    const std::vector<Case> cases = {
        {"stock, one keyword", kStockBase, kStockFields, one, handStock},
        {"stock, two keywords", kStockBase, kStockFields, two, handStock},
        {"sales, one keyword", kSalesBase, kSalesFields, one, handSales},
        {"sales, two keywords", kSalesBase, kSalesFields, salesTwo, handSales},
    };
    std::printf("%s: median CPU milliseconds of %d runs\n\n", qPrintable(path), reps);
    std::printf("%-22s %-16s %8s %10s %10s %7s %12s\n", "search", "keywords", "rows", "layer ms", "hand ms",
                "ratio", "its SQL ms");
    bool allMatch = true;
    double worst = 0;
    for (const Case& c : cases) {
        const QString jetSql = QStringLiteral("select * from (") + c.base + QStringLiteral(") where ") +
                               KeywordCondition(c.fields, c.keywords);
        const std::string handSql = c.hand(keywordsOf(c.keywords));
        std::string translated;
        try {
            translated = translator.translate(jetSql).sql;
        } catch (const DbError& e) {
            std::fprintf(stderr, "bench_jet: %s\n", qPrintable(e.text));
            return 1;
        }
        sqlite3_stmt* hand = prepare(db, handSql);
        sqlite3_stmt* layerNative = prepare(db, translated);

        // One untimed round fills the caches: translations, prepared statements, pages.
        QueryResult layerResult = session.query(jetSql);
        NativeResult handResult = runNative(db, hand);
        const bool same = sortedIds(layerResult.rows) == sortedIds(handResult.rows);
        allMatch = allMatch && same;

        Times layerTimes, handTimes, nativeTimes;
        for (int r = 0; r < reps; ++r) {
            measure(layerTimes, [&] { layerResult = session.query(jetSql); });
            measure(handTimes, [&] { handResult = runNative(db, hand); });
            measure(nativeTimes, [&] { runNative(db, layerNative); });
        }
        const double layer = median(layerTimes.cpu), handMs = median(handTimes.cpu);
        worst = std::max(worst, layer / handMs);
        std::printf("%-22s %-16s %7d %9.1f %9.1f %6.2f %9.1f %12.1f / %.1f%s\n", c.name,
                    qPrintable(c.keywords), layerResult.rowCount(), layer, handMs, layer / handMs,
                    median(nativeTimes.cpu), median(layerTimes.wall), median(handTimes.wall),
                    same ? "" : "  ROWS DIFFER");
        if (!same)
            std::printf("      layer %d rows, hand-written %d rows\n", layerResult.rowCount(),
                        int(handResult.rows.size()));
        if (plans) {
            std::printf("    layer SQL: %s\n", translated.c_str());
            explain(db, translated);
            std::printf("    hand SQL: %s\n", handSql.c_str());
            explain(db, handSql);
        }
        sqlite3_finalize(hand);
        sqlite3_finalize(layerNative);
    }
    std::printf(
        "\n\"its SQL\": the layer's translated statement stepped and read like the hand-written one,\n"
        "without the layer's own conversion of the values.\n");
    std::printf("worst ratio %.2f (target 1.30)%s\n", worst, allMatch ? "" : "; SOME ROWS DIFFER");
    return allMatch ? 0 : 1;
}
