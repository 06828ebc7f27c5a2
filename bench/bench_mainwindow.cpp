// Times the main window on a large data file: each tab's first view, a keyword search on
// the stock ledger, the goods below their minimum stock, a sales search matching most rows,
// scrolling through that result, and the same search on the purchase records.
// Each search is also split into its parts: SQLite alone, the keys alone, and a list model
// reading every record at once.
// The sales search also prints the four figures compared from run to run: Enter to the first
// screenful painted, Enter to the complete count and total, the longest time the event loop was
// blocked meanwhile, and the process's peak resident memory afterwards.
// Usage: bench_mainwindow <data file> [--sales-keyword K] [--stock-keyword K] [--shots DIR] [--plans]
//        [--linger SECONDS]
#include "core/MessageBoxes.h"
#include "core/Session.h"
#include "core/jet/Translator.h"
#include "mainwindow/GoodsListModel.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/SaleListModel.h"
#include "mainwindow/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>

namespace {

// Wall time and the process's CPU time. On a machine shared with other work the CPU time
// is close to what the wall time would be on an idle one.
class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart() {
        wall_.start();
        cpu_ = cpuNow();
    }
    double wallMs() const { return wall_.nsecsElapsed() / 1e6; }
    double cpuMs() const { return (cpuNow() - cpu_) / 1e6; }
    QString text() const { return QString::asprintf("%8.1f ms (cpu %7.1f ms)", wallMs(), cpuMs()); }

private:
    static qint64 cpuNow() {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }
    QElapsedTimer wall_;
    qint64 cpu_ = 0;
};

// Lets the window lay itself out and paint, as it would before the operator sees it.
void settle(frmmain& w) {
    QCoreApplication::processEvents();
    w.grab();
}

// Where the time of one search goes: SQLite stepping through the translated statement; the
// same for the keys a streamed list reads beside the window (the IDs and the money column,
// which leaves out the looked-up names); and a list model reading every row's record at once,
// as the lists did before they streamed.
void breakdown(Session& session, const QString& jetSql, int tab, bool plan) {
    jet::Translator translator(session.catalog());
    auto step = [&](const QString& statement, int& rows) {
        const std::string sql = translator.translate(statement).sql;
        if (plan) {
            std::printf("    SQLite statement: %s\n", sql.c_str());
            sqlite3_stmt* st = nullptr;
            const std::string explain = "EXPLAIN QUERY PLAN " + sql;
            sqlite3_prepare_v2(session.handle(), explain.c_str(), -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                std::printf("    plan: %s%s\n", sqlite3_column_int(st, 1) ? "  " : "",
                            reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
            sqlite3_finalize(st);
        }
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(session.handle(), sql.c_str(), -1, &st, nullptr);
        Stopwatch t;
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            ++rows;
        sqlite3_finalize(st);
        return t.cpuMs();
    };
    int rows = 0, keyRows = 0;
    const double stepping = step(jetSql, rows);
    const QString money = tab == listviews::Goods ? QStringLiteral("ZCB") : QStringLiteral("ZJE");
    const double keys =
        step(QStringLiteral("select ID,") + money + QStringLiteral(" from (") + jetSql + ")", keyRows);
    Stopwatch t;
    if (tab == listviews::Goods) {
        GoodsListModel m;
        session.read(jetSql, [&](RowSource& in) { m.load(in, session.options); });
    } else {
        SaleListModel m;
        session.read(jetSql, [&](RowSource& in) { m.load(in); });
    }
    std::printf(
        "    parts (cpu): SQLite stepping %.1f ms, the keys alone %.1f ms (rows %d); every record read "
        "at once into a list model %.1f ms; rows %d\n",
        stepping, keys, keyRows, t.cpuMs(), rows);
}

// The process's peak resident memory so far, in MB.
long peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

struct SearchTimes {
    double firstRows = -1; // Enter to the first screenful painted (wall ms)
    double complete = -1;  // Enter to the count and total in the status bar
    double longestPause = 0;
    double windowCpu = 0; // the window's own thread, ms
    int rows = 0;
};

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A search as the operator runs it: Enter in the keyword box, then the event loop left to
// turn as it would. A timer beats every few milliseconds; the longest time between two beats
// is the longest time the window could not answer. The search is complete when the status bar
// shows the view's hint (with its total) again.
SearchTimes timedSearch(frmmain& w, QTableView* list, QComboBox* combo, const QString& text) {
    auto* status = w.findChild<QLabel*>("StatusBar1Panel1");
    status->clear();
    combo->setEditText(text);
    SearchTimes t;
    QElapsedTimer clock;
    clock.start();
    const double cpu = threadCpuMs();
    double lastBeat = 0;
    QTimer beat;
    beat.setInterval(5);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        t.longestPause = std::max(t.longestPause, now - lastBeat);
        lastBeat = now;
    });
    beat.start();
    QTimer::singleShot(0, &w, [&w] { w.searchAction(); }); // what Enter in the keyword box does
    const int screenful = list->viewport()->height() / list->verticalHeader()->defaultSectionSize();
    while (t.complete < 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const bool done = status->text().startsWith(QStringLiteral(" 可点击鼠标右键选择操作"));
        if (t.firstRows < 0 && (list->model()->rowCount() >= screenful || done)) {
            list->viewport()->grab(); // the first screenful, painted
            t.firstRows = clock.nsecsElapsed() / 1e6;
        }
        if (done) t.complete = clock.nsecsElapsed() / 1e6;
    }
    t.longestPause = std::max(t.longestPause, clock.nsecsElapsed() / 1e6 - lastBeat);
    t.rows = list->model()->rowCount();
    t.windowCpu = threadCpuMs() - cpu;
    settle(w);
    return t;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // progress shows as it happens, also into a file
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_mainwindow <data file> [--sales-keyword K] [--stock-keyword K] "
                             "[--shots DIR] [--plans] [--linger SECONDS]\n");
        return 2;
    }
    auto option = [&](const QString& name, const QString& fallback) {
        const int i = args.indexOf(name);
        return i > 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const QString shots = option("--shots", {});
    const bool plans = args.contains("--plans");

    ScriptedMessageBoxes boxes;
    Session session(boxes);
    session.open(args[1]);
    session.admin = true;
    Options& o = session.options;
    o.Show_ZCB = o.Show_JHZJE = o.Show_LSJ = o.Show_PFJ = o.Show_DBJ = true;
    o.SSTab_Index = 0;
    o.MingCheng = QStringLiteral("大型五金店");

    Stopwatch t;
    frmmain w(session);
    w.resize(1280, 860);
    w.show();
    settle(w);
    std::printf("window created and first tab shown: %s\n", qPrintable(t.text()));
    auto* list = w.findChild<QTableView*>("ListViewL");
    auto* combo = w.findChild<QComboBox*>("cmbSS");

    auto shot = [&](const QString& name) {
        if (!shots.isEmpty()) w.grab().save(shots + "/" + name + ".png");
    };
    // A list other than a first view shows its rows as they are found: wait for the last.
    auto finish = [&] {
        while (w.loading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        settle(w);
    };
    auto search = [&](const QString& text) {
        combo->setEditText(text);
        w.searchAction(); // what Enter in the keyword box does
        finish();
    };

    for (int round = 0; round < 2; ++round) // the second round runs on prepared statements
        for (int tab : {1, 2, 3, 4, 0}) {
            t.restart();
            w.ssTABto01234(tab);
            settle(w);
            std::printf("round %d, tab %d %-8s first view: %s  rows %d\n", round + 1, tab,
                        qPrintable(listviews::tabCaption(tab)), qPrintable(t.text()),
                        list->model()->rowCount());
            if (round == 1) shot(QStringLiteral("tab%1").arg(tab));
        }

    w.ssTABto01234(listviews::Goods);
    QString stockKeyword = option("--stock-keyword", {});
    if (stockKeyword.isEmpty()) {
        const QueryResult r =
            session.query(QStringLiteral("select MC from T_TZ where ID=(select max(ID) from T_TZ)"));
        stockKeyword = r.isEmpty() ? QStringLiteral("螺丝") : r.value(0, 0).toString().left(3);
    }
    for (int i = 0; i < 2; ++i) {
        t.restart();
        search(stockKeyword);
        std::printf("stock search '%s': %s  rows %d\n", qPrintable(stockKeyword), qPrintable(t.text()),
                    list->model()->rowCount());
    }
    breakdown(session, w.currentSql(), listviews::Goods, plans);
    shot(QStringLiteral("stock-search"));

    // The goods below their minimum stock, from the stock ledger's right-click menu; every
    // load of the ledger also counts them in the whole ledger.
    for (int i = 0; i < 2; ++i) {
        t.restart();
        w.action(QStringLiteral("p查看低于最小库存的商品"))->trigger();
        finish();
        std::printf("low stock view: %s  rows %d  (%s)\n", qPrintable(t.text()), list->model()->rowCount(),
                    qPrintable(w.lowStockPanelText()));
    }
    breakdown(session, w.currentSql(), listviews::Goods, plans);
    t.restart();
    session.query(listviews::lowStockCountStatement());
    std::printf("    counting them alone: %s\n", qPrintable(t.text()));
    shot(QStringLiteral("low-stock"));

    w.ssTABto01234(listviews::Sales);
    const QString salesKeyword = option("--sales-keyword", QStringLiteral("电"));
    // The first search also reads the table into SQLite's cache and grows the list's memory.
    std::vector<SearchTimes> runs;
    for (int i = 0; i < 3; ++i) {
        t.restart();
        runs.push_back(timedSearch(w, list, combo, salesKeyword));
        const SearchTimes& r = runs.back();
        std::printf("sales search '%s': %s  rows %d  first rows %.1f ms, longest pause %.1f ms, window's "
                    "thread cpu %.1f ms  (%s)\n",
                    qPrintable(salesKeyword), qPrintable(t.text()), r.rows, r.firstRows, r.longestPause,
                    r.windowCpu, qPrintable(w.statusPanelText().trimmed()));
    }
    // The median of the three for the times, the worst for the pause.
    auto median = [&](double SearchTimes::*field) {
        std::vector<double> v;
        for (const SearchTimes& r : runs)
            v.push_back(r.*field);
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    double pause = 0;
    for (const SearchTimes& r : runs)
        pause = std::max(pause, r.longestPause);
    std::printf("sales search first rows: %.0f ms\n", median(&SearchTimes::firstRows));
    std::printf("sales search complete: %.0f ms\n", median(&SearchTimes::complete));
    std::printf("longest pause: %.0f ms\n", pause);
    std::printf("peak memory: %ld MB\n", peakMemoryMb());

    breakdown(session, w.currentSql(), listviews::Sales, plans);

    // Scrolling: page steps, jumps to the end and back, as the operator drags the bar.
    QScrollBar* bar = list->verticalScrollBar();
    double worst = 0, sum = 0, cpu = 0;
    int steps = 0;
    for (int v : {bar->maximum(), 0, bar->maximum() / 2, bar->maximum() / 3, bar->maximum() * 2 / 3}) {
        for (int k = 0; k < 20; ++k) {
            t.restart();
            bar->setValue(std::min(bar->maximum(), v + k * bar->pageStep()));
            QCoreApplication::processEvents();
            list->viewport()->grab(); // the list's repaint, as the operator drags the bar
            const double ms = t.wallMs();
            worst = std::max(worst, ms);
            sum += ms;
            cpu += t.cpuMs();
            ++steps;
        }
    }
    std::printf(
        "scrolling the sales result: %d steps, mean %.1f ms (cpu %.1f ms), worst %.1f ms per repaint\n",
        steps, sum / steps, cpu / steps, worst);
    shot(QStringLiteral("sales-search"));

    // The purchase records searched for the same keyword.
    w.ssTABto01234(listviews::Purchases);
    for (int i = 0; i < 2; ++i) {
        t.restart();
        search(salesKeyword);
        std::printf("purchase search '%s': %s  rows %d\n", qPrintable(salesKeyword), qPrintable(t.text()),
                    list->model()->rowCount());
    }

    // --linger N: stay on screen N seconds at the end (for a screen capture under Xvfb).
    const int linger = option("--linger", QStringLiteral("0")).toInt();
    if (linger > 0) {
        w.ssTABto01234(listviews::Goods);
        QTimer::singleShot(linger * 1000, &app, &QCoreApplication::quit);
        return app.exec();
    }
    return 0;
}
