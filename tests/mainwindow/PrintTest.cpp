// Printing the main window's lists (printer check, staging in T_Print1, the preview and its
// pages) and exporting them to PDF, Excel and CSV.
#include "core/Transaction.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "support/TestFixture.h"
#include "ui/ReportPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

using Kind = ScriptedMessageBoxes::Kind;

class PrintTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        printers.installed = {{"仓库", "A4"}};
    }
    qlonglong addGoods(const QString& mc, double zkc, const QString& kw = "A1") {
        return addRowOf(session, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ",
                        {mc, "JC", "X", kw, 0, zkc, zkc * 2, 2, 3, 0, 0, false});
    }
    std::unique_ptr<frmmain> open(int tab) {
        session.options.SSTab_Index = tab;
        auto w = std::make_unique<frmmain>(session);
        w->show();
        return w;
    }
    // Presses the print button; `inPreview` runs in the preview if one shows, which then closes.
    // Returns whether it showed.
    bool print(frmmain& w, const std::function<void(ReportPreview&)>& inPreview = {}) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget());
            if (!preview) return;
            shown = true;
            if (inPreview) inPreview(*preview);
            preview->close();
        });
        click(w, 21);
        QCoreApplication::processEvents();
        return shown;
    }
    static void search(frmmain& w, const QString& text) {
        w.findChild<QComboBox*>("cmbSS")->setEditText(text);
        click(w, 8);
    }
    QString staged() { return rowsText("select XH,TB1,TB2,TB3,TB4,TB5,TB6 from T_Print1", "null"); }
};

} // namespace

TEST_F(PrintTest, PrinterCheckEmptyListTitleAndStagedRows) {
    Transaction many(session);
    for (int i = 250; i >= 1; --i) // entered in reverse; the list shows 200 by name
        addGoods(QString("货物%1").arg(i, 3, 10, QChar('0')), i);
    many.commit();
    auto w = open(listviews::Goods);

    printers.installed.clear();
    EXPECT_FALSE(print(*w));
    ASSERT_EQ(boxes.shown.size(), 1u);
    expectBox(boxes.shown[0], Kind::Warning, "请首先安装打印机！", "Vostrel");
    EXPECT_EQ(staged(), "");

    // Letter or landscape only warns; a keyword typed but not searched names the title while the
    // rows stay those last loaded.
    for (const PrinterInfo& p :
         {PrinterInfo{"办公室", "Letter"}, PrinterInfo{"办公室", "A4", PaperOrientation::Landscape}}) {
        boxes.clear();
        printers.installed = {p};
        w->findChild<QComboBox*>("cmbSS")->setEditText(" 货物 ");
        QString title, caption;
        EXPECT_TRUE(print(*w, [&](ReportPreview& preview) {
            title = preview.report().title;
            caption = preview.windowTitle();
        }));
        ASSERT_EQ(boxes.shown.size(), 1u);
        expectBox(boxes.shown[0], Kind::Warning,
                  "请在控制面板中将[办公室]打印机的纸张大小设置成为A4纸，纸张方向设置成为纵向！", "Vostrel");
        EXPECT_EQ(title, "包含关键字< 货物 >的库存记录");
        EXPECT_EQ(caption, "(打印机输出)");
    }
    const QStringList rows = staged().split(',');
    ASSERT_EQ(rows.size(), 200);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(rows[i], QString("%1|货物%2/JC/X|%3|A1|null|null|null")
                               .arg(i + 1)
                               .arg(i + 1, 3, 10, QChar('0'))
                               .arg(i + 1));

    // A second print leaves only its own rows; an empty list prints nothing.
    printers.installed = {{"仓库", "A4"}};
    search(*w, "货物007");
    w->findChild<QComboBox*>("cmbSS")->setEditText("");
    QString title;
    EXPECT_TRUE(print(*w, [&](ReportPreview& preview) { title = preview.report().title; }));
    EXPECT_EQ(title, "库  存  记  录");
    EXPECT_EQ(staged(), "1|货物007/JC/X|7|A1|null|null|null");
    search(*w, "没有这个");
    boxes.clear();
    EXPECT_FALSE(print(*w));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(staged(), "1|货物007/JC/X|7|A1|null|null|null");

    // Nothing to print on the demands and suppliers.
    w->ssTABto01234(listviews::Suppliers);
    EXPECT_FALSE(w->findChild<QPushButton*>("cmdS(21)")->isEnabled());
}

TEST_F(PrintTest, MovementPrintsHideMoneyAndPaginate) {
    const qlonglong g = addGoods("螺丝钉", 10);
    const qlonglong kh = addRowOf(session, "T_KH", "KHMC,KHZL", {"张三", "电话"});
    const qlonglong gys = addRowOf(session, "T_GYS", "GYSMC,GYSZL,GHPZ", {"五金店", "城东", "螺丝"});
    Transaction many(session);
    for (int i = 1; i <= 80; ++i) {
        const QString day = QString("2009-%1-%2").arg(1 + i / 28).arg(1 + i % 28);
        addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
                 {g, day, i, 1000 + i, 0, kh, 0, "备"});
        addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
                 {-g, day, i, 9000 + i, 0, gys, 0, ""});
    }
    many.commit();
    auto w = open(listviews::Sales);

    // The preview prints on the printer chosen and saves the same pages as a PDF.
    files.answers = {dir.filePath("销售.pdf")};
    EXPECT_TRUE(print(*w, [&](ReportPreview& preview) {
        preview.findChild<QPushButton*>("print")->click();
        preview.findChild<QPushButton*>("savePdf")->click();
    }));
    EXPECT_TRUE(staged().startsWith("1|2009-3-25|螺丝钉/JC/X|80|1080|张三/电话|null,"));
    ASSERT_EQ(printers.printed.size(), 1u);
    EXPECT_EQ(printers.printed[0].printer, "仓库");
    const QString text = toolOutput("pdftotext", {"-layout", printers.printed[0].pdfPath, "-"});
    EXPECT_EQ(toolOutput("pdftotext", {"-layout", dir.filePath("销售.pdf"), "-"}), text);
    const QStringList pages = text.split('\f');
    ASSERT_EQ(pages.size(), 4);
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(pages[p].contains(QRegularExpression("销 +售 +记 +录"))) << p;
        EXPECT_TRUE(pages[p].contains(QRegularExpression("序号 +日期 +商品标识 +数量 +总金额 +备注"))) << p;
        EXPECT_TRUE(pages[p].contains(QRegularExpression(QString("\\( 共3页 +第%1页 \\)").arg(p + 1)))) << p;
        EXPECT_TRUE(pages[p].contains("打印时间：")) << p;
    }
    EXPECT_TRUE(
        pages[2].contains(QRegularExpression("\\n *80 +2009-1-2 +螺丝钉/JC/X +1 +1001 +张三/电话\\n")));

    // Purchases print the supplier's label under "备注", and no amount while amounts are hidden.
    session.options.Show_JHZJE = false;
    w->ssTABto01234(listviews::Purchases);
    EXPECT_TRUE(
        print(*w, [&](ReportPreview& preview) { preview.findChild<QPushButton*>("print")->click(); }));
    EXPECT_TRUE(staged().startsWith("1|2009-3-25|螺丝钉/JC/X|80|...|五金店/城东/螺丝|null,"));
    const QString hidden = toolOutput("pdftotext", {"-layout", printers.printed.back().pdfPath, "-"});
    EXPECT_TRUE(hidden.contains(QRegularExpression("80 +\\.\\.\\. +五金店/城东/螺丝")));
    EXPECT_FALSE(hidden.contains(QRegularExpression("9\\d\\d\\d")));
}

TEST_F(PrintTest, ExportsWriteTheListShownWithoutAPrinter) {
    printers.installed.clear();
    const qlonglong g = addGoods("螺丝钉", 10);
    const qlonglong gys = addRowOf(session, "T_GYS", "GYSMC,GYSZL,GHPZ", {"五金店", "城东", "螺丝"});
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
             {-g, "2009-1-9", 4, 1234.5, 5, gys, 0, "票"});
    session.options.Show_JHZJE = false;
    auto w = open(listviews::Purchases);

    files.answers = {std::nullopt, dir.filePath("进货.csv"), dir.filePath("进货.xlsx"),
                     dir.filePath("进货.pdf")};
    w->findChild<QPushButton*>("exportCsv")->click(); // cancelled
    EXPECT_TRUE(boxes.shown.empty());
    w->findChild<QPushButton*>("exportCsv")->click();
    w->findChild<QPushButton*>("exportXlsx")->click();
    w->findChild<QPushButton*>("exportPdf")->click();
    ASSERT_EQ(files.asked.size(), 4u);
    EXPECT_EQ(files.asked[1].caption, "导出CSV");
    EXPECT_EQ(files.asked[1].proposed, "进货记录.csv");
    EXPECT_EQ(files.asked[2].filter, "Excel 工作簿(*.xlsx)|*.xlsx");
    ASSERT_EQ(boxes.shown.size(), 3u);
    expectBox(boxes.shown[0], Kind::Information, "已导出到 " + dir.filePath("进货.csv"), "Vostrel");

    QFile file(dir.filePath("进货.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(csv.contains("1,2009-1-9,螺丝钉/JC/X,4,...,5,票/五金店/城东/螺丝/\r\n"));
    const QString sheet = xlsxCells(dir.filePath("进货.xlsx")).join(' '); // numbers and dates as such
    EXPECT_TRUE(sheet.contains("A3#1 B3#39822 C3=螺丝钉/JC/X D3#4 E3=... F3#5 G3=票/五金店/城东/螺丝/"))
        << sheet.toStdString();
    const QString pdf = toolOutput("pdftotext", {"-layout", dir.filePath("进货.pdf"), "-"});
    EXPECT_TRUE(pdf.contains(QRegularExpression("1 +2009-1-9 +螺丝钉/JC/X +4 +\\.\\.\\. +五金店/城东/螺丝")));
    for (const QString& text : {csv, sheet, pdf})
        EXPECT_FALSE(text.contains("1234")); // the hidden amount nowhere
}
