#include "app/ExportCommand.h"

#include "core/Session.h"
#include "core/TextRoutines.h"
#include "mainwindow/ListReports.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The lists by the names the command takes, in the order of listreports' kinds.
const std::array<QString, listreports::kListCount> kLists = {
    QStringLiteral("demands"), QStringLiteral("suppliers"), QStringLiteral("stock"),
    QStringLiteral("sales"),   QStringLiteral("purchases"), QStringLiteral("customers")};

int runExport(CommandContext& c) {
    const QString usage =
        QStringLiteral("用法：vostrel export stock|sales|purchases|customers|demands|suppliers "
                       "[--search 关键字] (--pdf|--xlsx|--csv) 输出文件");
    int kind = -1;
    std::optional<QString> search;
    std::optional<listreports::Format> format;
    QString out;
    for (qsizetype i = 0; i < c.args.size(); ++i) {
        const QString& word = c.args[i];
        if (word == QLatin1String("--search")) {
            if (search || i + 1 >= c.args.size()) return c.wrongUsage(usage);
            search = c.args[++i];
        } else if (word == QLatin1String("--pdf") || word == QLatin1String("--xlsx") ||
                   word == QLatin1String("--csv")) {
            if (format) return c.wrongUsage(QStringLiteral("只能选一种格式：--pdf、--xlsx 或 --csv。"));
            format = word == QLatin1String("--pdf")    ? listreports::Format::Pdf
                     : word == QLatin1String("--xlsx") ? listreports::Format::Xlsx
                                                       : listreports::Format::Csv;
        } else if (word.startsWith(QLatin1String("--"))) {
            return c.wrongUsage(QStringLiteral("未知的选项：") + word);
        } else if (kind < 0) {
            kind = int(std::find(kLists.begin(), kLists.end(), word) - kLists.begin());
            if (kind >= listreports::kListCount) return c.wrongUsage(QStringLiteral("没有这个列表：") + word);
        } else if (out.isEmpty()) {
            out = word;
        } else {
            return c.wrongUsage(QStringLiteral("多余的参数：") + word);
        }
    }
    if (kind < 0 || !format || out.isEmpty()) return c.wrongUsage(usage);

    Session* session = c.session();
    if (!session) return exitstatus::Failed;
    // The title names the keyword as the search reads it.
    const QString keyword = search ? Clean(*search) : QString();
    QString failed;
    int rows = 0;
    listreports::withList(*session, kind, search, [&](const listreports::ShownList& list) {
        rows = list.rowCount;
        failed = listreports::exportList(*session, list, keyword, *format, out);
    });
    if (!failed.isEmpty()) {
        c.printError(failed);
        return exitstatus::Failed;
    }
    c.print(QStringLiteral("已导出 %1 行到 %2").arg(rows).arg(out));
    return exitstatus::Done;
}

} // namespace

Command ExportCommand() {
    return {QStringLiteral("export"),
            QStringLiteral("stock|sales|purchases|customers|demands|suppliers [--search 关键字] "
                           "(--pdf|--xlsx|--csv) 输出文件"),
            QStringLiteral("把主窗口显示的列表（首批记录，或关键字的搜索结果）导出为 PDF、Excel 或 CSV；"
                           "隐藏的金额不导出"),
            runExport, true};
}
