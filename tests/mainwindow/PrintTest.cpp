// Printing the main window's lists (printer check, staging in T_Print1, the preview and its
// pages) and exporting them to PDF, Excel and CSV.
#include "MainWindowFixture.h"
#include "core/Transaction.h"
#include "ui/ReportPreview.h"

#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <functional>

namespace {

using Kind = ScriptedMessageBoxes::Kind;

class PrintTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        printers.installed = {{"仓库", "A4"}};
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
    QString staged() { return rowsText("select XH,TB1,TB2,TB3,TB4,TB5,TB6 from T_Print1", "null"); }
};

} // namespace

TEST_F(PrintTest, PrinterCheckEmptyListTitleAndStagedRows) {
    Transaction many(session);
    for (int i = 250; i >= 1; --i) // entered in reverse; the list shows 200 by name
        addGoods(QString("货物%1").arg(i, 3, 10, QChar('0')), i, 2 * i);
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
        QString title;
        EXPECT_TRUE(print(*w, [&](ReportPreview& preview) { title = preview.report().title; }));
        ASSERT_EQ(boxes.shown.size(), 1u);
        expectBox(boxes.shown[0], Kind::Warning,
                  "请在控制面板中将[办公室]打印机的纸张大小设置成为A4纸，纸张方向设置成为纵向！", "Vostrel");
        EXPECT_EQ(title, "包含关键字< 货物 >的库存记录");
    }
    const QStringList rows = staged().split(',');
    ASSERT_EQ(rows.size(), 200);
    EXPECT_EQ(rows[0], "1|货物001/JC/X|1|A1|null|null|null");
    EXPECT_EQ(rows[199], "200|货物200/JC/X|200|A1|null|null|null");

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

TEST_F(PrintTest, MovementPrintsHideMoneyAndPaginateAndExportsNeedNoPrinter) {
    const qlonglong g = addGoods("螺丝钉", 10, 20);
    const qlonglong kh = addRowOf(session, "T_KH", "KHMC,KHZL", {"张三", "电话"});
    const qlonglong gys = addRowOf(session, "T_GYS", "GYSMC,GYSZL,GHPZ", {"五金店", "城东", "螺丝"});
    Transaction many(session);
    for (int i = 1; i <= 80; ++i) {
        const QString day = QString("2009-%1-%2").arg(1 + i / 28).arg(1 + i % 28);
        addMove(g, day, i, 1000 + i, 0, kh, 0, "备");
        addMove(-g, day, i, 9000 + i, 0, gys);
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
    // Three pages (how any report pages: ReportTest), each with the sales' title and headings.
    const QStringList pages = text.split('\f');
    ASSERT_EQ(pages.size(), 4);
    for (const QString& page : pages.mid(0, 3))
        EXPECT_TRUE(page.contains(
            QRegularExpression("销 +售 +记 +录.*\\n *序号 +日期 +商品标识 +数量 +总金额 +备注\\n",
                               QRegularExpression::DotMatchesEverythingOption)));
    EXPECT_TRUE(
        pages[2].contains(QRegularExpression("\\n *80 +2009-1-2 +螺丝钉/JC/X +1 +1001 +张三/电话\\n")));

    // Purchases print the supplier's label under "备注", and no amount while amounts are hidden
    // (every other place hidden money might show: RolesTest).
    w->ssTABto01234(listviews::Purchases);
    EXPECT_TRUE(print(*w));
    EXPECT_TRUE(staged().startsWith("1|2009-3-25|螺丝钉/JC/X|80|...|五金店/城东/螺丝|null,"));

    // Exports need no printer.
    printers.installed.clear();
    boxes.clear();
    files.asked.clear();
    files.answers = {std::nullopt, dir.filePath("进货.csv"), dir.filePath("进货.xlsx"),
                     dir.filePath("进货.pdf")};
    w->findChild<QPushButton*>("exportCsv")->click(); // cancelled
    EXPECT_TRUE(boxes.shown.empty());
    w->findChild<QPushButton*>("exportCsv")->click();
    w->findChild<QPushButton*>("exportXlsx")->click();
    w->findChild<QPushButton*>("exportPdf")->click();
    ASSERT_EQ(files.asked.size(), 4u);
    EXPECT_EQ(files.asked[1].proposed, "进货记录.csv");
    EXPECT_EQ(files.asked[3].proposed, "进货记录.pdf");
    ASSERT_EQ(boxes.shown.size(), 3u);
    expectBox(boxes.shown[0], Kind::Information, "已导出到 " + dir.filePath("进货.csv"), "Vostrel");
    EXPECT_TRUE(QFile::exists(dir.filePath("进货.csv")) && QFile::exists(dir.filePath("进货.pdf")));
    // What each format holds: CommandsTest; the window's list writes its dates as dates.
    EXPECT_TRUE(xlsxCells(dir.filePath("进货.xlsx"))
                    .join(' ')
                    .contains("A3#1 B3#39897 C3=螺丝钉/JC/X D3#80 E3=... G3=/五金店/城东/螺丝/"));
}
