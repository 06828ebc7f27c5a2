// vostrel report monthly|goods: the windows' texts, a tab between cells, and no log line.
#include "app/CommandLine.h"
#include "app/Commands.h"
#include "support/TestFixture.h"

namespace {

class ReportCommandTest : public LedgerFixture {
protected:
    ReportCommandTest() {
        commandLine.print = [this](const QString& line) { out += line + '\n'; };
        commandLine.printError = [this](const QString& line) { err += line + '\n'; };
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        return commandLine.run(QStringList{"vostrel", "--data", dataPath()} + args,
                               [](const QString&) { return 0; });
    }
    CommandLine commandLine{HeadlessCommands()};
    QString out, err;
};

TEST_F(ReportCommandTest, PrintsTheListsAsTheWindowsShowThem) {
    const qlonglong a = addRowOf(session, "T_TZ", "MC,JC,XH,ZKC,ZCB", {"螺丝钉子", "LSDZ", "", 6, 60});
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE", {-a, "2009-1-5", 10, 100});
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE", {a, "2009-2-1", 4, 60});
    EXPECT_EQ(run({"report", "monthly"}), 0);
    EXPECT_EQ(out,
              "序号\t日期\t当月进货(元)\t当月销售(元)\t当月盈利(元)\t截至当月底库存(元)\t截至当月底盈利(元)\n"
              "1\t200901\t100\t0\t0\t100\t0\n"
              "2\t200902\t0\t60\t20\t60\t20\n");
    EXPECT_EQ(run({"report", "goods"}), 0);
    EXPECT_EQ(out, "序号\t商品标识\t注册日期\t最新库存量\t总销售数量\t毛利总额(元)\n"
                   "1\t螺丝钉子/LSDZ/\t2009-1-5\t6\t4\t20\n"
                   "......毛 利 合 计 ：  20 (元)\n");
    EXPECT_TRUE(err.isEmpty());
    EXPECT_TRUE(log().isEmpty());

    EXPECT_EQ(run({"report"}), 2);
    EXPECT_EQ(run({"report", "weekly"}), 2);
    EXPECT_EQ(err, "report 后面应是 monthly（营销状态统计分析）或 goods（商品盈利能力统计分析）。\n"
                   "用 vostrel --help 查看用法。\n");
    EXPECT_TRUE(out.isEmpty());
}

} // namespace
