// Times printing and export on a large data file: the sales search to xlsx and CSV, the PDF of
// a stock search, and the print preview of a 200-row list opening from the main window.
// Usage: bench_export <data file> [--sales-keyword K] [--stock-keyword K] [--runs N]
//        [--shots DIR] [--linger SECONDS]
#include "core/FileDialogs.h"
#include "core/MessageBoxes.h"
#include "core/Session.h"
#include "mainwindow/ListReports.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "report/ScriptedPrinters.h"
#include "ui/ReportPreview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Exports a search as the export command does, `runs` times, and prints the lowest wall and CPU
// times.
void measure(Session& session, int runs, int kind, const QString& keyword, listreports::Format format,
             const QString& path) {
    double wall = 1e18, cpu = 1e18;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const double c = cpuMs();
        QString failed;
        listreports::withList(session, kind, keyword, [&](const listreports::ShownList& list) {
            rows = list.rowCount;
            failed = listreports::exportList(session, list, keyword, format, path);
        });
        if (!failed.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(failed));
        wall = std::min(wall, t.nsecsElapsed() / 1e6);
        cpu = std::min(cpu, cpuMs() - c);
    }
    std::printf("%-16s %-10s %7d rows to %-5s %8.0f ms (cpu %8.0f ms)\n",
                qPrintable(listviews::tabCaption(kind)), qPrintable(keyword), rows,
                qPrintable(QFileInfo(path).suffix()), wall, cpu);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: bench_export <data file> [--sales-keyword K] [--stock-keyword K] [--runs N] "
                     "[--shots DIR] [--linger SECONDS]\n");
        return 2;
    }
    const auto option = [&](const QString& name, const QString& fallback) {
        const int i = args.indexOf(name);
        return i > 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const QString salesKeyword = option("--sales-keyword", QStringLiteral("电"));
    const QString stockKeyword = option("--stock-keyword", QStringLiteral("螺栓"));
    const int runs = option("--runs", "3").toInt();
    const QString shots = option("--shots", {});
    const int linger = option("--linger", "0").toInt();

    QTemporaryDir out;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs files;
    ScriptedPrinters printers;
    printers.installed = {{QStringLiteral("仓库"), QStringLiteral("A4")}};
    printers.pdfFolder = out.path();
    Session session(boxes, files, printers);
    session.open(args[1]);
    session.admin = true;
    Options& o = session.options;
    o.Show_ZCB = o.Show_JHZJE = o.Show_LSJ = o.Show_PFJ = o.Show_DBJ = true;

    using listreports::Format;
    measure(session, runs, listviews::Sales, salesKeyword, Format::Xlsx, out.filePath("s.xlsx"));
    measure(session, runs, listviews::Sales, salesKeyword, Format::Csv, out.filePath("s.csv"));
    measure(session, runs, listviews::Goods, stockKeyword, Format::Pdf, out.filePath("g.pdf"));

    // The preview from the print button, timed until its first page is painted.
    o.SSTab_Index = listviews::Sales;
    frmmain w(session);
    w.resize(1280, 860);
    w.show();
    QCoreApplication::processEvents();
    auto* print = w.findChild<QPushButton*>(QStringLiteral("cmdS(21)"));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const double c = cpuMs();
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget());
            if (!preview) return;
            const QPixmap page = preview->grab();
            std::printf("%-44s %8.0f ms (cpu %8.0f ms)\n",
                        "preview of the first 200 sales, shown and painted", t.nsecsElapsed() / 1e6,
                        cpuMs() - c);
            if (i + 1 == runs && !shots.isEmpty()) page.save(shots + QStringLiteral("/preview.png"));
            QTimer::singleShot(i + 1 == runs ? linger * 1000 : 0, preview, &QWidget::close);
        });
        t.start();
        print->click();
    }
    return 0;
}
