// vostrel export: usage, failures, and the lists it writes.
#include "app/ExportCommand.h"
#include "core/Session.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

class ExportCommandTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        commandLine.print = [this](const QString& line) { out += line + '\n'; };
        commandLine.printError = [this](const QString& line) { err += line + '\n'; };
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        return commandLine.run(QStringList{"vostrel", "--data", dataPath(), "export"} + args,
                               [](const QString&) { return -1; });
    }
    QByteArray read(const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    CommandLine commandLine{{ExportCommand()}};
    QString out, err;
};

} // namespace

TEST_F(ExportCommandTest, WrongUsageAndFailures) {
    const QString csv = dir.filePath("a.csv");
    for (const QStringList& args :
         {QStringList{}, QStringList{"stock", "--csv"}, QStringList{"stock", csv},
          QStringList{"stock", "--csv", "--pdf", csv}, QStringList{"stock", "--search"},
          QStringList{"goods", "--csv", csv}, QStringList{"stock", "--csv", csv, "b"},
          QStringList{"stock", "--tsv", csv}}) {
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.endsWith("用 vostrel --help 查看用法。\n")) << err.toStdString();
    }
    EXPECT_TRUE(err.startsWith("未知的选项：--tsv\n"));
    run({"goods", "--csv", csv});
    EXPECT_TRUE(err.startsWith("没有这个列表：goods\n"));
    EXPECT_FALSE(QFile::exists(csv));

    const QString nowhere = dir.filePath("没有/a.csv");
    EXPECT_EQ(run({"stock", "--csv", nowhere}), 1);
    EXPECT_TRUE(err.startsWith("无法写入文件“" + nowhere + "”：")) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(ExportCommandTest, WritesTheListTheWindowShows) {
    session.execSql("update T_Option set Show_JHZJE=False, Show_ZCB=True, Show_LSJ=False, Show_PFJ=False, "
                    "Show_DBJ=True where id=3");
    const qlonglong g = addRowOf(session, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ",
                                 {"螺丝钉", "LSD", "M6", "A1", 5, 15, 37.5, 2.5, 3.5, 3, 2, false});
    addRowOf(session, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ",
             {"扳手", "BS", "", "B2", 0, 1, 9, 9, 12, 0, 0, false});
    const qlonglong gys = addRowOf(session, "T_GYS", "GYSMC,GYSZL,GHPZ", {"五金店", "城东", "螺丝"});
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
             {-g, "2009-1-9", 15, 7777, 0, gys, 0, ""});
    addRowOf(session, "T_KH", "KHMC,KHZL", {"张三", "电话, 手机"});
    const qlonglong logLines = scalar("select count(*) from T_txt").toLongLong();

    EXPECT_EQ(run({"purchases", "--csv", dir.filePath("进货.csv")}), 0);
    EXPECT_EQ(out, "已导出 1 行到 " + dir.filePath("进货.csv") + "\n");
    EXPECT_EQ(read("进货.csv"), QByteArray("\xEF\xBB\xBF进  货  记  录\r\n"
                                           "序号,日期,商品标识,数量,金额,挂账金额,备注\r\n"
                                           "1,2009-1-9,螺丝钉/LSD/M6,15,...,,/五金店/城东/螺丝/\r\n"));

    EXPECT_EQ(run({"stock", "--search", "螺丝'", "--xlsx", dir.filePath("库存.xlsx")}), 0);
    EXPECT_EQ(
        xlsxCells(dir.filePath("库存.xlsx")),
        QStringList({"A1=包含关键字<螺丝>的库存记录", "A2=序号", "B2=商品标识", "C2=库位", "D2=库存",
                     "E2=最小库存", "F2=总成本", "G2=零售价", "H2=批发价", "I2=调拨价", "A3#1",
                     "B3=螺丝钉/LSD/M6", "C3=A1", "D3#15", "E3#5", "F3#37.5", "G3=...", "H3=...", "I3#2"}));

    EXPECT_EQ(run({"customers", "--search", "张", "--csv", dir.filePath("客户.csv")}), 0);
    EXPECT_EQ(read("客户.csv"), QByteArray("\xEF\xBB\xBF包含关键字<张>的客户资料\r\n"
                                           "序号,客户名称,客户资料\r\n"
                                           "1,张三,\"电话, 手机\"\r\n"));

    // The PDF is the printed report, made by the program run without a display; it stages the
    // print's rows and writes nothing else.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    p.setProcessEnvironment(env);
    p.start(VOSTREL_PROGRAM, {"--data", dataPath(), "export", "stock", "--pdf", dir.filePath("库存.pdf")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString pdf = toolOutput("pdftotext", {"-layout", dir.filePath("库存.pdf"), "-"});
    EXPECT_TRUE(pdf.contains(QRegularExpression("库 +存 +记 +录"))) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains(QRegularExpression("2 +螺丝钉/LSD/M6 +15 +A1")));
    EXPECT_EQ(rowsText("select XH,TB1,TB2,TB3,TB4 from T_Print1", "null"),
              "1|扳手/BS/|1|B2|null,2|螺丝钉/LSD/M6|15|A1|null");
    EXPECT_EQ(scalar("select count(*) from T_txt").toLongLong(), logLines);
}
