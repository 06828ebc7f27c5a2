#include "report/Report.h"
#include "report/CsvWriter.h"
#include "report/ScriptedPrinters.h"
#include "report/XlsxWriter.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The goods ledger as printed: three data columns beside the row number, 10590 twips wide.
Report ledgerReport() {
    Report r;
    ReportLayout& l = r.layout;
    l.margins = QMargins(600, 567, 567, 567);
    l.width = 10590;
    l.pageHeader = {1095, {{615, 45}, {1065, 15}}};
    l.detail = {345, {{330, 15}}};
    l.pageFooter = {405, {{0, 30}}};
    l.title.box = {15, 0, 9795, 330};
    l.printTime.box = {7230, 345, 3285, 255};
    l.pageNumber.box = {7170, 105, 2010, 255};
    l.caption.box = {120, 150, 4860, 210};
    r.columns = {
        {"序号", {30, 750, 810, 285}, {30, 75, 825, 240}},
        {"商品标识", {1275, 750, 5955, 285}, {900, 75, 6330, 240}},
        {"库存", {7230, 750, 1110, 285}, {7260, 75, 1065, 240}, Qt::AlignLeft, ReportColumn::Kind::Number},
        {"库位", {8355, 750, 2205, 285}, {8370, 75, 2205, 240}}};
    r.title = "库  存  记  录";
    r.printTimeLabel = "打印时间：";
    r.printTime = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    r.pageNumbering = "( 共%P页  第%p页 )";
    r.caption = "Vostrel 进销存";
    return r;
}

} // namespace

TEST(ReportTest, ThreePagesPrintWithHeadersRowsAndPageNumbers) {
    QTemporaryDir dir;
    Report report = ledgerReport();
    for (int i = 1; i <= 90; ++i)
        report.rows.push_back({QString::number(i),
                               QStringLiteral("螺栓M%1/LS/%2").arg(i).arg(i, 4, 10, QChar('0')),
                               QString::number(i * 0.5), "A架" + QString::number(i % 7)});
    report.rows[4][1] = QString(60, QChar(u'很')) + "尾巴"; // far wider than its field
    report.totals = {"", "合计", "2047.5", ""};
    EXPECT_EQ(report.pageCount(), 3); // 41 rows a page, the totals on the third

    ScriptedPrinters printers;
    printers.pdfFolder = dir.path();
    printers.installed = {{"办公室", "Letter", PaperOrientation::Landscape}, {"仓库", "A4"}};
    ASSERT_TRUE(
        printers.print("办公室", report.title, [&](QPagedPaintDevice& d) { return report.print(d); }));
    const QString pdf = printers.printed.at(0).pdfPath;
    EXPECT_TRUE(toolOutput("pdfinfo", {pdf})
                    .contains(QRegularExpression("Pages: +3\\b.*A4", // as laid out
                                                 QRegularExpression::DotMatchesEverythingOption)));
    const QString text = toolOutput("pdftotext", {"-layout", pdf, "-"});
    ASSERT_EQ(writePdf(report, dir.filePath("库存.pdf")), "");
    EXPECT_EQ(toolOutput("pdftotext", {"-layout", dir.filePath("库存.pdf"), "-"}), text); // the same pages

    const QStringList pages = text.split('\f');
    ASSERT_EQ(pages.size(), 4); // and the empty rest after the last page break
    qsizetype row = 0;
    for (int p = 0; p < 3; ++p) {
        const QString& page = pages[p];
        EXPECT_TRUE(page.contains(QRegularExpression("库 +存 +记 +录"))) << p;
        EXPECT_TRUE(page.contains("打印时间：2024-3-5 14:07:09")) << p;
        EXPECT_TRUE(page.contains(QRegularExpression("序号 +商品标识 +库存 +库位"))) << p;
        // "页" read back as itself, not as the radical that shares its glyph
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("\\( 共3页 +第%1页 \\)").arg(p + 1))))
            << p;
        EXPECT_TRUE(page.contains("Vostrel 进销存")) << p;
        // the rows in their order, each on its page
        for (qsizetype at = 0; row < 90; ++row) {
            const QString label = row == 4 ? "很+" : report.rows[row][1];
            const qsizetype found =
                page.indexOf(QRegularExpression(QStringLiteral("\\b%1 +%2 +%3 +%4")
                                                    .arg(row + 1)
                                                    .arg(label, report.rows[row][2], report.rows[row][3])),
                             at);
            if (found < 0) break;
            at = found;
        }
        EXPECT_EQ(row, std::min(41 * (p + 1), 90)) << p;
    }
    EXPECT_FALSE(pages[0].contains("尾巴")); // cut at its field
    EXPECT_TRUE(pages[2].contains(QRegularExpression("合计 +2047.5")));
}

TEST(ReportTest, SpreadsheetsHoldTheTitleHeadingsRowsAndTotals) {
    QTemporaryDir dir;
    Report report = ledgerReport();
    report.columns.push_back({"日期", {}, {}, Qt::AlignLeft, ReportColumn::Kind::Date});
    report.rows = {{"1", "垫片, 大号", "12.5", "A架", "2009-1-9"},
                   {"2", "说 \"好\"", "...", "", "2009-1-9 8:05:00"},
                   {"3", "两\n行", "-0.25", "B架", "不是日期"}};
    report.totals = {"", "合计", "12.25"};

    const QString xlsx = dir.filePath("库存.xlsx");
    ASSERT_EQ(writeXlsx(report, xlsx), "");
    EXPECT_EQ(
        xlsxCells(xlsx).join('|'),
        "A1=库  存  记  录|A2=序号|B2=商品标识|C2=库存|D2=库位|E2=日期|A3=1|B3=垫片, 大号|C3#12.5|D3=A架|"
        "E3#39822|A4=2|B4=说 \"好\"|C4=...|E4#39822.33680555555|A5=3|B5=两\n行|C5#-0.25|D5=B架|"
        "E5=不是日期|B6=合计|C6#12.25");

    const QString csv = dir.filePath("库存.csv");
    ASSERT_EQ(writeCsv(report, csv), "");
    EXPECT_EQ(fileBytes(csv), QByteArray("\xEF\xBB\xBF"
                                         "库  存  记  录\r\n"
                                         "序号,商品标识,库存,库位,日期\r\n"
                                         "1,\"垫片, 大号\",12.5,A架,2009-1-9\r\n"
                                         "2,\"说 \"\"好\"\"\",...,,2009-1-9 8:05:00\r\n"
                                         "3,\"两\n行\",-0.25,B架,不是日期\r\n"
                                         ",合计,12.25,,\r\n"));

    const QString nowhere = dir.filePath("没有这个文件夹/库存");
    EXPECT_TRUE(writeXlsx(report, nowhere + ".xlsx").startsWith("无法写入文件“" + nowhere + ".xlsx”："));
    EXPECT_TRUE(writeCsv(report, nowhere + ".csv").startsWith("无法写入文件“" + nowhere + ".csv”："));
}
