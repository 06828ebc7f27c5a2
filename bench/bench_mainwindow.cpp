// Times the main window on a large data file: each tab's first view, a keyword search on
// the stock ledger, a sales search matching most rows, and scrolling through that result.
// Usage: bench_mainwindow <data file> [--sales-keyword K] [--stock-keyword K] [--shots DIR]
#include "core/MessageBoxes.h"
#include "core/Session.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <cstdio>

namespace {

double elapsedMs(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// Lets the window lay itself out and paint, as it would before the operator sees it.
void settle(frmmain& w) {
    QCoreApplication::processEvents();
    w.grab();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_mainwindow <data file> [--sales-keyword K] [--stock-keyword K] "
                             "[--shots DIR]\n");
        return 2;
    }
    auto option = [&](const QString& name, const QString& fallback) {
        const int i = args.indexOf(name);
        return i > 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const QString shots = option("--shots", {});

    ScriptedMessageBoxes boxes;
    Session session(boxes);
    session.open(args[1]);
    session.admin = true;
    Options& o = session.options;
    o.Show_ZCB = o.Show_JHZJE = o.Show_LSJ = o.Show_PFJ = o.Show_DBJ = true;
    o.SSTab_Index = 0;
    o.MingCheng = QStringLiteral("大型五金店");

    QElapsedTimer t;
    t.start();
    frmmain w(session);
    w.resize(1280, 860);
    w.show();
    settle(w);
    std::printf("window created and first tab shown: %8.1f ms\n", elapsedMs(t));
    auto* list = w.findChild<QTableView*>("ListViewL");
    auto* combo = w.findChild<QComboBox*>("cmbSS");

    auto shot = [&](const QString& name) {
        if (!shots.isEmpty()) w.grab().save(shots + "/" + name + ".png");
    };
    auto search = [&](const QString& text) {
        combo->setEditText(text);
        w.searchAction(); // what Enter in the keyword box does
        settle(w);
    };

    for (int round = 0; round < 2; ++round) // the second round runs on prepared statements
        for (int tab : {1, 2, 3, 4, 0}) {
            t.restart();
            w.ssTABto01234(tab);
            settle(w);
            std::printf("round %d, tab %d %-8s first view: %7.1f ms  rows %d\n", round + 1, tab,
                        qPrintable(listviews::tabCaption(tab)), elapsedMs(t), list->model()->rowCount());
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
        std::printf("stock search '%s': %7.1f ms  rows %d\n", qPrintable(stockKeyword), elapsedMs(t),
                    list->model()->rowCount());
    }
    shot(QStringLiteral("stock-search"));

    w.ssTABto01234(listviews::Sales);
    const QString salesKeyword = option("--sales-keyword", QStringLiteral("-"));
    for (int i = 0; i < 2; ++i) {
        t.restart();
        search(salesKeyword);
        std::printf("sales search '%s': %7.1f ms  rows %d  (%s)\n", qPrintable(salesKeyword), elapsedMs(t),
                    list->model()->rowCount(), qPrintable(w.statusPanelText().trimmed()));
    }

    // Scrolling: page steps, jumps to the end and back, as the operator drags the bar.
    QScrollBar* bar = list->verticalScrollBar();
    double worst = 0, sum = 0;
    int steps = 0;
    for (int v : {bar->maximum(), 0, bar->maximum() / 2, bar->maximum() / 3, bar->maximum() * 2 / 3}) {
        for (int k = 0; k < 20; ++k) {
            t.restart();
            bar->setValue(std::min(bar->maximum(), v + k * bar->pageStep()));
            settle(w);
            const double ms = elapsedMs(t);
            worst = std::max(worst, ms);
            sum += ms;
            ++steps;
        }
    }
    std::printf("scrolling the sales result: %d steps, mean %.1f ms, worst %.1f ms per repaint\n", steps,
                sum / steps, worst);
    shot(QStringLiteral("sales-search"));
    return 0;
}
