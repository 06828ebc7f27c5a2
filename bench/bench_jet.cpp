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
#include <cstring>
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

// The keywords the main window's search would use: apostrophes removed, split at commas,
// empty pieces skipped.
QStringList keywordsOf(QString text) {
    text.remove(QLatin1Char('\''));
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

// Hand-written SQLite. A part of the joined search text: a text column, a number (its text
// as CStr gives it is "%.15g" of SQLite's printf, the letter case of an exponent aside), a
// date ("yyyy-m-d", movements carry no time), or a label of several text columns joined by
// "/" that is Null when its row is missing.
enum class Kind { Text, Number, Date, Label };
struct Part {
    Kind kind;
    std::string expr;              // the column, or the label's whole expression
    std::vector<std::string> cols; // a label's columns
};

std::string partText(const Part& p) {
    switch (p.kind) {
    case Kind::Number:
        return "iif(" + p.expr + " is null,'',printf('%.15g'," + p.expr + "))";
    case Kind::Date:
        return "ifnull(substr(" + p.expr + ",1,5)||ltrim(substr(" + p.expr +
               ",6,2),'0')||'-'||ltrim(substr(" + p.expr + ",9,2),'0'),'')";
    default:
        return "ifnull(" + p.expr + ",'')";
    }
}

std::string label(const std::string& row, const std::vector<std::string>& cols) {
    std::string e;
    for (const std::string& c : cols)
        e += (e.empty() ? "" : "||'/'||") + ("ifnull(" + c + ",'')");
    return "iif(" + row + " is null,null," + e + ")";
}

// The straightforward form: the joined text, searched without regard to letter case.
std::string joinedCondition(const std::vector<Part>& parts, const QStringList& keywords) {
    std::string joined;
    for (const Part& p : parts)
        joined += (joined.empty() ? "" : "||','||") + partText(p);
    std::string where;
    for (const QString& k : keywords)
        where += (where.empty() ? "" : " and ") + ("instr(lower(" + joined + "),lower(" + quoted(k) + "))>0");
    return where;
}

bool onlyOf(const QString& text, const char* chars) {
    for (QChar c : text)
        if (c.unicode() > 127 || !std::strchr(chars, char(c.unicode()))) return false;
    return true;
}

// The fastest form we know: a keyword never holds a comma, so it occurs in the joined text
// exactly when it occurs in one part; LIKE compares without regard to ASCII letter case, and
// numbers and dates are looked at only when their text could hold the keyword at all.
std::string perPartCondition(const std::vector<Part>& parts, const QStringList& keywords) {
    std::string where;
    for (const QString& k : keywords) {
        QString escaped = k;
        escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('%'), QStringLiteral("\\%"))
            .replace(QLatin1Char('_'), QStringLiteral("\\_"));
        const std::string like =
            " like " + quoted(QLatin1Char('%') + escaped + QLatin1Char('%')) + " escape '\\'";
        std::string any;
        auto add = [&](const std::string& e) { any += (any.empty() ? "" : " or ") + e + like; };
        for (const Part& p : parts) {
            switch (p.kind) {
            case Kind::Text:
                add(p.expr);
                break;
            case Kind::Number:
                if (onlyOf(k, "0123456789.+-eE")) add(partText(p));
                break;
            case Kind::Date:
                if (onlyOf(k, "0123456789-")) add(partText(p));
                break;
            case Kind::Label:
                if (k.contains(QLatin1Char('/')))
                    add(p.expr);
                else
                    for (const std::string& c : p.cols)
                        add(c);
                break;
            }
        }
        where += (where.empty() ? "" : " and ") + (any.empty() ? std::string("0") : "(" + any + ")");
    }
    return where;
}

// best: the per-part condition, and a plain scan of the table: the search reads every row
// anyway, and fetching them in index order (to spare sorting the few matches) costs more.
std::string handStock(const QStringList& keywords, bool best) {
    const std::vector<Part> parts = {{Kind::Number, "LSJ", {}}, {Kind::Text, "MC", {}},
                                     {Kind::Text, "JC", {}},    {Kind::Text, "XH", {}},
                                     {Kind::Text, "KW", {}},    {Kind::Number, "KCmin", {}},
                                     {Kind::Number, "ZKC", {}}};
    return std::string("select ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ") +
           (best ? " not indexed" : "") + " where " +
           (best ? perPartCondition(parts, keywords) : joinedCondition(parts, keywords)) +
           " order by MC collate PINYIN, XH collate PINYIN";
}

std::string handSales(const QStringList& keywords, bool best) {
    const std::vector<std::string> goods = {"g.MC", "g.JC", "g.XH"}, customer = {"k.KHMC", "k.KHZL"};
    const std::string spmc = label("g.ID", goods), khzl = label("k.ID", customer);
    const std::vector<Part> parts = {{Kind::Date, "m.RQ", {}},      {Kind::Number, "m.SL", {}},
                                     {Kind::Number, "m.ZJE", {}},   {Kind::Number, "m.GZJE", {}},
                                     {Kind::Text, "m.BZ", {}},      {Kind::Label, spmc, goods},
                                     {Kind::Label, khzl, customer}, {Kind::Text, "d.KHXQ", {}}};
    return "select m.ID,m.TZID,m.RQ,m.SL,m.ZJE,m.GZJE,m.JXID,m.KHXQID,m.BZ," + spmc + " as SPMC," + khzl +
           " as KHZL,d.KHXQ as KHXQ from T_IO m" + (best ? " not indexed" : "") +
           " left join T_TZ g on g.ID=m.TZID left join T_KH k on k.ID=m.JXID left join T_KH_XQ d on "
           "d.ID=m.KHXQID where m.TZID>0 and " +
           (best ? perPartCondition(parts, keywords) : joinedCondition(parts, keywords)) +
           " order by m.RQ desc";
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
    std::string (*hand)(const QStringList&, bool best);
};

// One way of running a search, with its times.
struct Runner {
    const char* name;
    std::function<int()> run; // returns the row count
    Times times;
};

const char* kUsage =
    "usage: bench_jet <file.mdb> [--reps N] [--one TEXT] [--two TEXT] [--cache MB] [--plans]\n"
    "                 [--case K --runner layer|\"its SQL\"|joined|best] (to profile one)\n";

} // namespace

int main(int argc, char** argv) {
    QString path, one = QStringLiteral("螺栓"), two = QStringLiteral("不锈钢,M8");
    QString salesTwo = QStringLiteral("不锈钢,2019-");
    int reps = 7, cacheMb = 0, onlyCase = 0;
    std::string onlyRunner; // for profiling one of them
    bool plans = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plans")
            plans = true;
        else if (arg == "--reps" && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--case" && i + 1 < argc)
            onlyCase = std::atoi(argv[++i]);
        else if (arg == "--runner" && i + 1 < argc)
            onlyRunner = argv[++i];
        else if (arg == "--cache" && i + 1 < argc)
            cacheMb = std::max(0, std::atoi(argv[++i]));
        else if (arg == "--one" && i + 1 < argc)
            one = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--two" && i + 1 < argc)
            two = salesTwo = QString::fromLocal8Bit(argv[++i]);
        else if (arg.rfind("--", 0) != 0 && path.isEmpty())
            path = QString::fromLocal8Bit(argv[i]);
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (path.isEmpty()) {
        std::fputs(kUsage, stderr);
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
    if (cacheMb > 0) session.execNative(QStringLiteral("PRAGMA cache_size=-%1").arg(cacheMb * 1024));
    jet::Translator translator(session.catalog());

    const std::vector<Case> cases = {
        {"stock, one keyword", kStockBase, kStockFields, one, handStock},
        {"stock, two keywords", kStockBase, kStockFields, two, handStock},
        {"sales, one keyword", kSalesBase, kSalesFields, one, handSales},
        {"sales, two keywords", kSalesBase, kSalesFields, salesTwo, handSales},
    };
    std::printf("%s: median CPU milliseconds of %d runs (wall in brackets)%s\n", qPrintable(path), reps,
                cacheMb ? qPrintable(QStringLiteral(", page cache %1 MB").arg(cacheMb)) : "");
    std::printf("  layer:    Session::query of the statement the main window builds\n"
                "  its SQL:  the layer's translated statement, stepped and read like the hand-written ones\n"
                "  joined:   hand-written with joins, searching the joined text as the statement says\n"
                "  best:     hand-written with joins, searching each part of the joined text that could\n"
                "            hold the keyword with LIKE, on a plain scan of the table\n"
                "  ratios:   layer / joined, layer / best\n\n");
    std::printf("%-20s %-13s %6s %17s %17s %17s %17s %6s %6s\n", "search", "keywords", "rows", "layer",
                "its SQL", "joined", "best", "/join", "/best");
    bool allMatch = true;
    double worst = 0, worstJoined = 0;
    for (const Case& c : cases) {
        if (onlyCase && &c - cases.data() != onlyCase - 1) continue;
        const QString jetSql = QStringLiteral("select * from (") + c.base + QStringLiteral(") where ") +
                               KeywordCondition(c.fields, c.keywords);
        const QStringList keywords = keywordsOf(c.keywords);
        const std::string joinedSql = c.hand(keywords, false);
        const std::string perPartSql = c.hand(keywords, true);
        std::string translated;
        try {
            translated = translator.translate(jetSql).sql;
        } catch (const DbError& e) {
            std::fprintf(stderr, "bench_jet: %s\n", qPrintable(e.text));
            return 1;
        }
        sqlite3_stmt* itsSql = prepare(db, translated);
        sqlite3_stmt* joined = prepare(db, joinedSql);
        sqlite3_stmt* perPart = prepare(db, perPartSql);

        QueryResult layerResult;
        NativeResult handResult;
        std::vector<Runner> runners = {
            {"layer", [&] { return (layerResult = session.query(jetSql)).rowCount(); }, {}},
            {"its SQL", [&] { return int(runNative(db, itsSql).rows.size()); }, {}},
            {"joined", [&] { return int(runNative(db, joined).rows.size()); }, {}},
            {"best", [&] { return int((handResult = runNative(db, perPart)).rows.size()); }, {}},
        };
        // One untimed round fills the caches (translations, prepared statements, pages) and
        // checks that all four give the same rows.
        std::vector<int> counts;
        for (Runner& r : runners)
            counts.push_back(r.run());
        const bool same = sortedIds(layerResult.rows) == sortedIds(handResult.rows) &&
                          std::count(counts.begin(), counts.end(), counts[0]) == int(counts.size());
        allMatch = allMatch && same;
        for (int rep = 0; rep < reps; ++rep)
            for (Runner& r : runners)
                if (onlyRunner.empty() || onlyRunner == r.name) measure(r.times, [&] { r.run(); });

        if (!onlyRunner.empty()) continue;
        const double layer = median(runners[0].times.cpu);
        const double joinedMs = median(runners[2].times.cpu), best = median(runners[3].times.cpu);
        worst = std::max(worst, layer / best);
        worstJoined = std::max(worstJoined, layer / joinedMs);
        std::printf("%-20s %-13s %6d", c.name, qPrintable(c.keywords), counts[0]);
        for (const Runner& r : runners)
            std::printf(" %7.1f (%7.1f)", median(r.times.cpu), median(r.times.wall));
        std::printf(" %6.2f %6.2f%s\n", layer / joinedMs, layer / best, same ? "" : "  ROWS DIFFER");
        if (!same) {
            std::printf("    rows:");
            for (size_t i = 0; i < runners.size(); ++i)
                std::printf(" %s %d", runners[i].name, counts[i]);
            std::printf("\n");
        }
        if (plans) {
            for (const auto& [name, sql] : {std::pair<const char*, const std::string&>{"layer", translated},
                                            {"joined", joinedSql},
                                            {"best", perPartSql}}) {
                std::printf("  %s: %s\n", name, sql.c_str());
                explain(db, sql);
            }
        }
        sqlite3_finalize(itsSql);
        sqlite3_finalize(joined);
        sqlite3_finalize(perPart);
    }
    std::printf("\nworst ratio %.2f against the joined query, %.2f against the best one (target 1.30)%s\n",
                worstJoined, worst, allMatch ? "" : "; SOME ROWS DIFFER");
    return allMatch ? 0 : 1;
}
