// The two statistics on a large shop: the program's one-pass computation, and the slow
// reference (a full replay of all movements for each month, a query for each goods item) on
// the same file or, since that one takes hours on ten years of a shop, on a smaller one.
//   bench_stats <file.mdb> [--reference SMALL.mdb] [--reps N] [--only monthly|goods] [--no-reference]
#include "StatsReference.h"

#include "core/Options.h"
#include "core/Session.h"
#include "stats/GoodsProfit.h"
#include "stats/MonthlyStatus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <time.h>
#include <vector>

namespace {

const char* const kUsage = "usage: bench_stats FILE.mdb [--reference SMALL.mdb] [--reps N] [--only "
                           "monthly|goods] [--no-reference]\n";

// CPU time of the process: the machine may be shared, and waiting for a core is not the
// program's cost. Wall time is shown beside it.
double cpuMillis() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Timing {
    double cpu = 0, wall = 0;
};

Timing timeOnce(const std::function<void()>& run) {
    const double c0 = cpuMillis();
    const auto w0 = std::chrono::steady_clock::now();
    run();
    return {cpuMillis() - c0,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - w0).count()};
}

// Median by CPU time of `reps` runs.
Timing timeMedian(int reps, const std::function<void()>& run) {
    std::vector<Timing> t;
    for (int i = 0; i < reps; ++i)
        t.push_back(timeOnce(run));
    std::sort(t.begin(), t.end(), [](const Timing& a, const Timing& b) { return a.cpu < b.cpu; });
    return t[t.size() / 2];
}

ReferenceList programMonthly(Session& s) {
    Options shown; // the figures themselves, whatever the data file hides
    shown.Show_JHZJE = shown.Show_ZCB = true;
    return {MonthlyStatus::texts(*MonthlyStatus::compute(s), shown), {}};
}

ReferenceList programGoods(Session& s) {
    const auto list = GoodsProfit::compute(s);
    return {GoodsProfit::texts(list->rows), GoodsProfit::totalText(list->total)};
}

struct Case {
    const char* name;
    ReferenceList (*program)(Session&);
    ReferenceList (*reference)(Session&);
};
const Case kCases[] = {{"monthly", programMonthly, ReferenceMonthly},
                       {"goods", programGoods, ReferenceGoods}};

qlonglong count(Session& s, const char* table) {
    return s.query(QStringLiteral("select count(*) from ") + QLatin1String(table)).value(0, 0).toLongLong();
}

} // namespace

int main(int argc, char** argv) {
    QString path, referencePath;
    std::string only;
    bool noReference = false;
    int reps = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reps" && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--no-reference")
            noReference = true;
        else if (arg == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (arg == "--reference" && i + 1 < argc)
            referencePath = QString::fromLocal8Bit(argv[++i]);
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
    if (referencePath.isEmpty()) referencePath = path;

    ScriptedMessageBoxes boxes;
    Session large(boxes), other(boxes);
    try {
        large.open(path);
        if (referencePath != path) other.open(referencePath);
        Session& small = referencePath != path ? other : large;
        std::printf("program on %s (%lld goods, %lld movements): median of %d runs, CPU ms (wall)\n",
                    qPrintable(path), count(large, "T_TZ"), count(large, "T_IO"), reps);
        programMonthly(large); // the first run reads the file into the page cache
        for (const Case& c : kCases) {
            if (!only.empty() && only != c.name) continue;
            const Timing t = timeMedian(reps, [&] { c.program(large); });
            std::printf("  %-8s %8.1f (%8.1f)\n", c.name, t.cpu, t.wall);
        }
        if (noReference) return 0;
        std::printf("reference on %s (%lld goods, %lld movements): one run, CPU ms (wall)\n",
                    qPrintable(referencePath), count(small, "T_TZ"), count(small, "T_IO"));
        if (&small != &large) programMonthly(small);
        bool same = true;
        for (const Case& c : kCases) {
            if (!only.empty() && only != c.name) continue;
            ReferenceList mine, theirs;
            const Timing p = timeMedian(reps, [&] { mine = c.program(small); });
            const Timing r = timeOnce([&] { theirs = c.reference(small); });
            const bool equal = mine.rows == theirs.rows && mine.total == theirs.total;
            same = same && equal;
            std::printf("  %-8s program %8.1f (%8.1f)  reference %10.1f (%10.1f)  ratio %7.0f  %s\n", c.name,
                        p.cpu, p.wall, r.cpu, r.wall, r.cpu / std::max(p.cpu, 0.001),
                        equal ? "same texts" : "DIFFERENT TEXTS");
        }
        if (!same) return 1;
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_stats: %s\n", qPrintable(e.text));
        return 1;
    }
    return 0;
}
