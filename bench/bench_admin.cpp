// Times the operation log viewer on a long log: ten years of a busy shop leave hundreds of
// thousands of lines, and the window must still open at once. Also times a backup of the file.
// Usage: bench_admin [--lines N] [--runs N]
#include "admin/DataFileCopies.h"
#include "admin/frmShowTXT.h"
#include "core/DataFile.h"
#include "core/MessageBoxes.h"
#include "core/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>
#include <vector>

namespace {

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Log lines as the program writes them, one a minute or so over the years.
void fillLog(sqlite3* db, int lines) {
    const char* texts[] = {"管理员登录成功",  "普通用户登录成功", "售出登记:", "进货登记:",
                           "新商品注册入库:", "修改销售记录:",    "登录失败"};
    const char* goods[] = {"不锈钢螺栓(M8)", "内六角扳手(5mm)", "电线(2.5平方)", "水龙头(DN15)",
                           "胶水(500ml)"};
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO T_txt (RQ, cc) VALUES (?, ?)", -1, &st, nullptr);
    qint64 seconds = 8 * 3600;
    for (int i = 0; i < lines; ++i) {
        seconds += 47 + i % 600;
        const QDate day = QDate(2015, 1, 1).addDays(seconds / 86400);
        const int s = int(seconds % 86400);
        const QByteArray rq =
            (day.toString(Qt::ISODate) + QString::asprintf(" %02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60))
                .toUtf8();
        QByteArray cc(texts[i % 7]);
        if (i % 7 >= 2 && i % 7 <= 5) cc += goods[i % 5];
        sqlite3_bind_text(st, 1, rq.constData(), int(rq.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, cc.constData(), int(cc.size()), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int lines = 500000, runs = 5;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--lines")) lines = args[i + 1].toInt();
        if (args[i] == QLatin1String("--runs")) runs = args[i + 1].toInt();
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DBvost.mdb"));
    CreateDataFile(path);
    ScriptedMessageBoxes boxes;
    Session session(boxes);
    session.open(path);
    fillLog(session.handle(), lines);
    std::printf("operation log of %d lines\n", lines);

    std::vector<double> wall, cpu;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const double c = cpuMs();
        {
            frmShowTXT w(session);
            w.show();
            QCoreApplication::processEvents();
            w.grab(); // painted, as the operator first sees it
            if (w.findChild<QWidget*>(QStringLiteral("ListViewL")) == nullptr) return 1;
        }
        wall.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - c);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("log viewer opened and painted: median %.1f ms (cpu %.1f ms) of %d runs\n",
                wall[wall.size() / 2], cpu[cpu.size() / 2], runs);

    QElapsedTimer t;
    t.start();
    DataFileCopies(session).backup(dir.filePath(QStringLiteral("copy.xkg")));
    std::printf("backup of the file (%.1f MB): %.1f ms\n", QFileInfo(path).size() / 1e6,
                t.nsecsElapsed() / 1e6);
    return 0;
}
