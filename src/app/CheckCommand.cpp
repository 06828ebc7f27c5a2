#include "app/CheckCommand.h"

#include "stock/LedgerCheck.h"

namespace {

// What disagrees goes to standard output, a line each, so it can be kept or searched; the
// verdict's reason to standard error, as every refusal.
int runCheck(CommandContext& c) {
    if (!c.args.isEmpty()) return c.wrongUsage(QStringLiteral("check 不需要参数。"));
    Session* s = c.session();
    if (!s) return exitstatus::Failed;
    const LedgerCheckResult r = LedgerCheck(*s).run();
    for (const QString& line : r.lines())
        c.print(line);
    if (r.sound()) return exitstatus::Done;
    c.printError(r.damage.isEmpty() ? QStringLiteral("账目有 %1 处不符。").arg(r.goods.size())
                                    : QStringLiteral("数据文件未通过完整性检查。"));
    return exitstatus::Failed;
}

} // namespace

Command CheckCommand() {
    return {QStringLiteral("check"), QString(),
            QStringLiteral("检查数据文件是否完好、账目是否相符；列出每一个不符的商品"), runCheck};
}
