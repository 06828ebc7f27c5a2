#include "app/ReportCommand.h"

#include "core/Session.h"

#include "stats/GoodsProfit.h"
#include "stats/MonthlyStatus.h"

namespace {

QString headerLine(const std::vector<StatsColumn>& columns) {
    QStringList headers;
    for (const StatsColumn& c : columns)
        headers << c.header;
    return headers.join(QLatin1Char('\t'));
}

// The same texts as the window, a line per row, a tab between cells; no log line is written.
int runReport(CommandContext& c) {
    const QString which = c.args.value(0);
    if (c.args.size() != 1 || (which != QLatin1String("monthly") && which != QLatin1String("goods")))
        return c.wrongUsage(
            QStringLiteral("report 后面应是 monthly（营销状态统计分析）或 goods（商品盈利能力统计分析）。"));
    Session* s = c.session();
    if (!s) return exitstatus::Failed;
    if (which == QLatin1String("monthly")) {
        const auto months = MonthlyStatus::compute(*s);
        c.print(headerLine(MonthlyStatus::columns()));
        for (const QStringList& row : MonthlyStatus::texts(*months, s->options))
            c.print(row.join(QLatin1Char('\t')));
    } else {
        const auto goods = GoodsProfit::compute(*s);
        c.print(headerLine(GoodsProfit::columns()));
        for (const QStringList& row : GoodsProfit::texts(goods->rows))
            c.print(row.join(QLatin1Char('\t')));
        c.print(GoodsProfit::totalText(goods->total));
    }
    return exitstatus::Done;
}

} // namespace

Command ReportCommand() {
    return {QStringLiteral("report"), QStringLiteral("monthly|goods"),
            QStringLiteral("统计分析列表：monthly 营销状态，goods 商品盈利能力；每行一条，制表符分隔"),
            runReport};
}
