// Searches that stream: on a shop with 240,000 movements the window's lists equal a full read of
// the same statement row for row, a running search gives way to the next load, and a form
// opened deep in a streamed result gets that row's record.
#include "MainWindowFixture.h"
#include "core/DataFile.h"
#include "core/Vb.h"
#include "mainwindow/GoodsListModel.h"
#include "mainwindow/ListReports.h"
#include "mainwindow/PurchaseListModel.h"
#include "mainwindow/SaleListModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTimer>

namespace {

class StreamedSearchTest : public MainWindowFixture {
protected:
    // The shop is written once; each test works on a copy of it.
    static void SetUpTestSuite() {
        shop_ = new QTemporaryDir;
        const QString path = shop_->filePath("shop.mdb");
        CreateDataFile(path, 2002);
        ScriptedMessageBoxes boxes;
        Session s(boxes);
        s.open(path);
        // 50 of the 60 goods are "电线…"; four movements in five are sales; dates repeat about
        // 340 times each, spread over the IDs, so the order of equal dates counts; the amounts
        // are not exact binary numbers, so the total depends on the order of adding up.
        s.execNative(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<60) "
            "INSERT INTO T_TZ (MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ) SELECT "
            "CASE WHEN i%6=0 THEN '螺丝' ELSE '电线' END || i, 'G' || i, 'X' || i, 'A', 1, 1000, i*3.3, "
            "i*3.3/1000, 9, 8, 7, 0 FROM n");
        s.execNative("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<10) "
                     "INSERT INTO T_KH (KHMC,KHZL) SELECT '客户' || i, '手机' FROM n");
        s.execNative("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<240000) "
                     "INSERT INTO T_IO (TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ) SELECT "
                     "CASE WHEN i%5=0 THEN -(i%60+1) ELSE i%60+1 END, date('2016-01-01', '+' || (i*7919%700) "
                     "|| ' days'), "
                     "i%9+1, (i%997)*1.1, CASE WHEN i%7=0 THEN 5 ELSE 0 END, i%10+1, 0, "
                     "CASE WHEN i%1000 IN (1,500) THEN '加急' ELSE '' END FROM n");
    }
    static void TearDownTestSuite() { delete shop_; }
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(shop_->filePath("shop.mdb"), dataPath()));
        session.open(dataPath());
        session.admin = true;
        session.options.Show_ZCB = session.options.Show_JHZJE = true;
    }

    static ListTableModel* shown(frmmain& w) { return static_cast<ListTableModel*>(list(w)->model()); }
    // The ID in the first row of a search still running.
    static qlonglong firstId(frmmain& w) {
        while (shown(w)->rowCount() == 0)
            QTest::qWait(1);
        return shown(w)->id(0);
    }
    static inline QTemporaryDir* shop_ = nullptr;

    // The window's list against the rows of its statement read at once, into records, as the
    // lists were loaded before they streamed: every row's ID in order, the total, and every
    // text of a few rows.
    void expectFullRead(frmmain& w) {
        GoodsListModel goods;
        SaleListModel sales;
        PurchaseListModel purchases;
        session.read(w.currentSql(), [&](RowSource& rows) {
            if (w.currentTab() == listviews::Goods) goods.load(rows, session.options);
            if (w.currentTab() == listviews::Sales) sales.load(rows);
            if (w.currentTab() == listviews::Purchases) purchases.load(rows, session.options);
        });
        const ListTableModel* full = w.currentTab() == listviews::Goods ? static_cast<ListTableModel*>(&goods)
                                     : w.currentTab() == listviews::Sales
                                         ? static_cast<ListTableModel*>(&sales)
                                         : &purchases;
        ListTableModel* m = shown(w);
        ASSERT_EQ(m->rowCount(), full->rowCount()) << w.currentSql().toStdString();
        int differ = 0;
        for (int r = 0; r < m->rowCount(); ++r)
            differ += m->id(r) != full->id(r);
        EXPECT_EQ(differ, 0);
        EXPECT_EQ(m->total(), full->total()); // exactly: added up in the same order
        EXPECT_TRUE(w.statusPanelText().startsWith(" 可点击鼠标右键选择操作"));
        for (int r : {0, 1, m->rowCount() / 2, 150000, m->rowCount() - 1}) {
            if (r < 0 || r >= m->rowCount()) continue;
            EXPECT_EQ(m->data(m->index(r, 0)).toString(), QString::number(r + 1));
            for (int c = 1; c < m->columnCount(); ++c)
                EXPECT_EQ(m->data(m->index(r, c)).toString(), full->data(full->index(r, c)).toString())
                    << "row " << r << " column " << c;
        }
    }
};

} // namespace

TEST_F(StreamedSearchTest, ListsEqualAFullReadAndAFormDeepInTheResultGetsItsRow) {
    auto w = open(listviews::Goods);
    for (int tab : {listviews::Goods, listviews::Sales, listviews::Purchases}) {
        w->ssTABto01234(tab); // the first views, 200 rows
        expectFullRead(*w);
        startSearch(*w, tab == listviews::Goods ? "电线" : "加急"); // small searches
        finish(*w);
        EXPECT_GT(shown(*w)->rowCount(), 0);
        expectFullRead(*w);
    }

    // The large search keeps Qt's model rules while its rows come in.
    w->ssTABto01234(listviews::Sales);
    QAbstractItemModelTester tester(shown(*w), QAbstractItemModelTester::FailureReportingMode::Fatal);
    startSearch(*w, "电");
    EXPECT_TRUE(w->loading());
    EXPECT_TRUE(w->statusPanelText().startsWith(" 正在搜索 >>> 销货记录   ...   已找到 "));
    finish(*w);
    ASSERT_GT(shown(*w)->rowCount(), 150000);
    expectFullRead(*w);
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 销货记录   ...   金额合计：" +
                                        vb::CStr(vb::Round(shown(*w)->total(), 2)));

    // An export of the result writes every row, read a page at a time.
    const QString csv = dir.filePath("sales.csv");
    EXPECT_EQ(listreports::exportList(session, w->shownList(), "电", listreports::Format::Csv, csv), "");
    const QList<QByteArray> lines = fileBytes(csv).split('\n');
    ASSERT_EQ(lines.size(), shown(*w)->rowCount() + 3); // the title, the headings, the end of the last line
    EXPECT_EQ(lines[2 + 149999].left(lines[2 + 149999].indexOf(',', 7)),
              "150000," + shown(*w)->data(shown(*w)->index(149999, 1)).toString().toUtf8());

    // Row 150,000: the record the sales edit form receives, and what it shows of it.
    const QueryResult row =
        session.query("select ID, SL, ZJE from T_IO where ID=" + QString::number(shown(*w)->id(149999)));
    list(*w)->setCurrentIndex(shown(*w)->index(149999, 2));
    const auto sale = w->selectedSale();
    ASSERT_TRUE(sale.has_value());
    EXPECT_EQ(sale->ID, row.value(0, 0).toLongLong());
    EXPECT_EQ(sale->ZJE, row.value(0, 2).toDouble());
    QString amount;
    QTimer::singleShot(0, [&] {
        QWidget* form = QApplication::activeModalWidget();
        if (!form) return;
        amount = form->findChild<QLineEdit*>("Text2(2)")->text();
        form->close();
    });
    w->action("p修改销货记录")->trigger();
    EXPECT_EQ(amount, vb::CStr(vb::Round(row.value(0, 2).toDouble(), 2)));
}

TEST_F(StreamedSearchTest, ARunningSearchGivesWayToTheNextLoad) {
    auto w = open(listviews::Sales);
    // The model keeps Qt's rules through first views, searches, cancellations and clearing.
    QAbstractItemModelTester tester(shown(*w), QAbstractItemModelTester::FailureReportingMode::Fatal);
    // A second search.
    startSearch(*w, "电");
    ASSERT_TRUE(w->loading());
    startSearch(*w, "加急");
    finish(*w);
    expectFullRead(*w);
    EXPECT_EQ(shown(*w)->rowCount(), 240);

    // A tab change, and back: the first view.
    startSearch(*w, "电");
    ASSERT_TRUE(w->loading());
    w->ssTABto01234(listviews::Purchases);
    EXPECT_FALSE(w->loading());
    w->ssTABto01234(listviews::Sales);
    EXPECT_EQ(w->currentSql(), listviews::defaultStatement(listviews::Sales));
    EXPECT_EQ(shown(*w)->rowCount(), 200);

    // A reload after a row was removed: the search again, without the row.
    startSearch(*w, "电");
    ASSERT_TRUE(w->loading());
    const qlonglong gone = firstId(*w);
    session.execSql("delete from T_IO where ID=" + QString::number(gone));
    w->Load_ListViewL_3();
    finish(*w);
    expectFullRead(*w);
    EXPECT_EQ(shown(*w)->rowOf(gone), -1);

    // A save while the search runs stops it; it runs again on its own, on the saved data.
    startSearch(*w, "电");
    ASSERT_TRUE(w->loading());
    session.execSql("update T_IO set ZJE=ZJE+1000 where ID=" + QString::number(firstId(*w)));
    finish(*w);
    expectFullRead(*w);
}
