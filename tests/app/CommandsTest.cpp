// The commands that run without windows: backup and restore (the copy, the password from
// standard input, the refusals and the question asked only on a terminal), report, export and
// check.
#include "app/Commands.h"
#include "AppFixture.h"
#include "core/DataFileLock.h"
#include "core/Session.h"

#include <QFile>
#include <QRegularExpression>

namespace {

class CommandsTest : public LedgerFixture {
protected:
    CommandsTest() {
        commandLine.print = [this](const QString& line) { out += line + '\n'; };
        commandLine.printError = [this](const QString& line) { err += line + '\n'; };
        commandLine.readLine = [this](const QString& prompt, bool secret) -> std::optional<QString> {
            prompts << prompt + (secret ? "*" : "");
            if (input.isEmpty()) return std::nullopt;
            return input.takeFirst();
        };
        commandLine.interactive = false;
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        prompts.clear();
        return commandLine.run(QStringList{"vostrel", "--data", dataPath()} + args,
                               [](const QString&) { return 0; });
    }

    CommandLine commandLine{HeadlessCommands()};
    QString out, err;
    QStringList input, prompts;
};

} // namespace

TEST_F(CommandsTest, BackupAndRestoreWithThePasswordFromStandardInput) {
    AppendLog(session, "备份以前");
    const QString backup = dir.filePath("b.xkg");
    EXPECT_EQ(run({"backup", backup}), 0);
    EXPECT_EQ(out, "保存完成!\n");
    EXPECT_EQ(run({"backup"}), 2);
    EXPECT_EQ(run({"restore", backup, "x"}), 2);

    AppendLog(session, "备份以后");
    const QByteArray live = fileBytes(dataPath());
    input = {"1"}; // the ordinary password
    EXPECT_EQ(run({"restore", backup}), 1);
    EXPECT_EQ(err, "权限不够，拒绝还原数据！\n");
    EXPECT_EQ(prompts, QStringList({"还原口令：*"}));
    EXPECT_EQ(run({"restore", backup}), 1); // no password at all
    // On a terminal the operator is asked first.
    commandLine.interactive = true;
    input = {"8", "否"};
    EXPECT_EQ(run({"restore", backup}), 1);
    EXPECT_EQ(prompts.last(), "该操作将丢失备份文件以后的所有数据,继续操作吗?（是/否）");
    input = {"否"};
    EXPECT_EQ(run({"backup", backup}), 1);
    EXPECT_EQ(err, "没有备份。\n");

    // Without a terminal nobody is asked: the password alone. Not while a window has the file
    // open, though a backup may be made then.
    commandLine.interactive = false;
    {
        DataFileLock window(dataPath());
        ASSERT_EQ(window.take(), DataFileLock::Outcome::Taken);
        input = {"8"};
        EXPECT_EQ(run({"restore", backup}), 1);
        EXPECT_EQ(err, "数据文件正在被另一个Vostrel使用，不能还原；请先关闭它。\n");
        EXPECT_EQ(run({"backup", dir.filePath("c.xkg")}), 0);
    }
    EXPECT_EQ(fileBytes(dataPath()), live);
    // The program itself reads the password from a pipe.
    session.close();
    const ProgramRun r = runProgram({"--data", dataPath(), "restore", backup}, "8\n");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "恢复完成。\n");
    session.open(dataPath());
    EXPECT_EQ(log(), QStringList({"备份以前"}));
}

// vostrel export: usage, failures, and the lists it writes.
TEST_F(CommandsTest, ExportRefusesWrongUsageAndWritesTheListTheWindowShows) {
    const QString csv = dir.filePath("a.csv");
    for (const QStringList& args :
         {QStringList{}, QStringList{"stock", "--csv"}, QStringList{"stock", csv},
          QStringList{"stock", "--csv", "--pdf", csv}, QStringList{"stock", "--search"},
          QStringList{"goods", "--csv", csv}, QStringList{"stock", "--csv", csv, "b"},
          QStringList{"stock", "--tsv", csv}}) {
        EXPECT_EQ(run(QStringList{"export"} + args), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.endsWith("用 vostrel --help 查看用法。\n")) << err.toStdString();
    }
    EXPECT_TRUE(err.startsWith("未知的选项：--tsv\n"));
    run({"export", "goods", "--csv", csv});
    EXPECT_TRUE(err.startsWith("没有这个列表：goods\n"));
    EXPECT_FALSE(QFile::exists(csv));

    const QString nowhere = dir.filePath("没有/a.csv");
    EXPECT_EQ(run({"export", "stock", "--csv", nowhere}), 1);
    EXPECT_TRUE(err.startsWith("无法写入文件“" + nowhere + "”：")) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());

    session.execNative(
        "UPDATE T_Option SET Show_JHZJE=0, Show_ZCB=-1, Show_LSJ=0, Show_PFJ=0, Show_DBJ=-1 WHERE ID=3; "
        "INSERT INTO T_TZ (MC, JC, XH, KW, KCmin, ZKC, ZCB, DJ, LSJ, PFJ, DBJ, BJ) VALUES ('螺丝钉', 'LSD', "
        "'M6', 'A1', 5, 15, 37.5, 2.5, 3.5, 3, 2, 0), ('扳手', 'BS', '', 'B2', 0, 1, 9, 9, 12, 0, 0, 0); "
        "INSERT INTO T_GYS (GYSMC, GYSZL, GHPZ) VALUES ('五金店', '城东', '螺丝'); INSERT INTO T_IO (TZID, "
        "RQ, "
        "SL, ZJE, GZJE, JXID, KHXQID, BZ) VALUES (-1, '2009-01-09', 15, 7777, 0, 1, 0, '')");
    const qlonglong logLines = scalar("select count(*) from T_txt").toLongLong();

    EXPECT_EQ(run({"export", "purchases", "--csv", dir.filePath("进货.csv")}), 0);
    EXPECT_EQ(out, "已导出 1 行到 " + dir.filePath("进货.csv") + "\n");
    EXPECT_EQ(fileBytes(dir.filePath("进货.csv")),
              QByteArray("\xEF\xBB\xBF进  货  记  录\r\n"
                         "序号,日期,商品标识,数量,金额,挂账金额,备注\r\n"
                         "1,2009-1-9,螺丝钉/LSD/M6,15,...,,/五金店/城东/螺丝/\r\n"));

    EXPECT_EQ(run({"export", "stock", "--search", "螺丝'", "--xlsx", dir.filePath("库存.xlsx")}), 0);
    EXPECT_EQ(
        xlsxCells(dir.filePath("库存.xlsx")),
        QStringList({"A1=包含关键字<螺丝>的库存记录", "A2=序号", "B2=商品标识", "C2=库位", "D2=库存",
                     "E2=最小库存", "F2=总成本", "G2=零售价", "H2=批发价", "I2=调拨价", "A3#1",
                     "B3=螺丝钉/LSD/M6", "C3=A1", "D3#15", "E3#5", "F3#37.5", "G3=...", "H3=...", "I3#2"}));

    // The PDF is the printed report, made by the program run without a display; it stages the
    // print's rows and writes nothing else.
    const ProgramRun r =
        runProgram({"--data", dataPath(), "export", "stock", "--pdf", dir.filePath("库存.pdf")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString pdf = toolOutput("pdftotext", {"-layout", dir.filePath("库存.pdf"), "-"});
    EXPECT_TRUE(pdf.contains(QRegularExpression("库 +存 +记 +录"))) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains(QRegularExpression("2 +螺丝钉/LSD/M6 +15 +A1")));
    EXPECT_EQ(rowsText("select XH,TB1,TB2,TB3,TB4 from T_Print1", "null"),
              "1|扳手/BS/|1|B2|null,2|螺丝钉/LSD/M6|15|A1|null");
    EXPECT_EQ(scalar("select count(*) from T_txt").toLongLong(), logLines);
}

// vostrel report monthly|goods: the windows' texts, a tab between cells, and no log line.
// vostrel check: every goods item that disagrees with its movements, named; a damaged file.
TEST_F(CommandsTest, ReportPrintsTheListsAsTheWindowsShowThemAndCheckNamesWhatDisagrees) {
    const qlonglong a =
        addRowOf(session, "T_TZ", "MC,JC,XH,ZKC,ZCB,DJ", {"螺丝钉子", "LSDZ", "M8", 6, 60, 10});
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE", {-a, "2009-1-5", 10, 100});
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE", {a, "2009-2-1", 4, 60});
    EXPECT_EQ(run({"report", "monthly"}), 0);
    EXPECT_EQ(out,
              "序号\t日期\t当月进货(元)\t当月销售(元)\t当月盈利(元)\t截至当月底库存(元)\t截至当月底盈利(元)\n"
              "1\t200901\t100\t0\t0\t100\t0\n"
              "2\t200902\t0\t60\t20\t60\t20\n");
    EXPECT_EQ(run({"report", "goods"}), 0);
    EXPECT_EQ(out, "序号\t商品标识\t注册日期\t最新库存量\t总销售数量\t毛利总额(元)\n"
                   "1\t螺丝钉子/LSDZ/M8\t2009-1-5\t6\t4\t20\n"
                   "......毛 利 合 计 ：  20 (元)\n");
    EXPECT_TRUE(err.isEmpty());
    EXPECT_TRUE(log().isEmpty());

    EXPECT_EQ(run({"report"}), 2);
    EXPECT_EQ(run({"report", "weekly"}), 2);
    EXPECT_EQ(err, "report 后面应是 monthly（营销状态统计分析）或 goods（商品盈利能力统计分析）。\n"
                   "用 vostrel --help 查看用法。\n");
    EXPECT_TRUE(out.isEmpty());

    const qlonglong b = addRowOf(session, "T_TZ", "MC,ZKC,ZCB,DJ", {"扳手工具", 0, 0, 0});
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_EQ(out, "数据文件完好，账目相符。\n");
    session.execNative(QString("update T_TZ set ZKC=6.004 where ID=%1").arg(a)); // to the cent
    EXPECT_EQ(run({"check"}), 0);

    session.execNative(QString("update T_TZ set ZKC=5.99, DJ='x' where ID=%1").arg(a));
    session.execNative(QString("update T_TZ set ZKC=-2, ZCB=NULL where ID=%1").arg(b));
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE", {-99, "2009-1-5", 1, 1});
    EXPECT_EQ(run({"check"}), 1);
    EXPECT_EQ(out,
              "商品 1 螺丝钉子(M8)：库存 5.99，而进货 10.00 减销售 4.00 为 6.00；单位成本不是数字\n"
              "商品 2 扳手工具：库存 -2.00，而进货 0.00 减销售 0.00 为 0.00；库存 -2.00 为负数；总成本为空\n"
              "商品 99 不存在，却有 1 条进货或销售记录\n");
    EXPECT_EQ(err, "账目有 3 处不符。\n");
    EXPECT_EQ(run({"check", "x"}), 2);
    EXPECT_TRUE(log().isEmpty());

    // A damaged page among the movements.
    session.execNative("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                       "INSERT INTO T_IO (TZID, SL, BZ) SELECT 1, 0, hex(randomblob(40)) FROM n");
    session.close();
    QFile file(dataPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(file.size() - 4096));
    file.write(QByteArray(4096, '\xff'));
    file.close();
    EXPECT_EQ(run({"check"}), 1);
    EXPECT_TRUE(out.startsWith("数据文件已损坏：\n")) << out.toStdString();
    EXPECT_EQ(err, "数据文件未通过完整性检查。\n");
}
