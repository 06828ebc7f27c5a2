// Times `vostrel check`'s work on a data file: the integrity check and the ledger's rules.
// Usage: bench_check FILE [--runs N]
#include "core/MessageBoxes.h"
#include "core/Session.h"
#include "stock/LedgerCheck.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QString path;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            path = QString::fromLocal8Bit(argv[i]);
    }
    if (path.isEmpty()) {
        std::fputs("usage: bench_check FILE [--runs N]\n", stderr);
        return 2;
    }
    ScriptedMessageBoxes boxes;
    Session session(boxes);
    session.open(path);
    std::vector<double> wall, cpu;
    LedgerCheckResult r;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const double c = cpuMs();
        r = LedgerCheck(session).run();
        cpu.push_back(cpuMs() - c);
        wall.push_back(double(t.elapsed()));
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("check: %s, %lld findings; median of %d: %.0f ms CPU (%.0f ms wall)\n",
                r.sound() ? "sound" : "NOT sound", qlonglong(r.damage.size() + r.goods.size()), runs,
                cpu[cpu.size() / 2], wall[wall.size() / 2]);
    return r.sound() ? 0 : 1;
}
