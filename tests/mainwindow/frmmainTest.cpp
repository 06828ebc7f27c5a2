// The main window on a real data file: first views, hidden money, totals, permissions,
// keyword search and memory, right-click menus.
#include "mainwindow/frmmain.h"
#include "admin/DataFileCopies.h"
#include "core/Transaction.h"
#include "core/Vb.h"
#include "mainwindow/ListViews.h"
#include "support/TestFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

class MainWindowTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        session.admin = true;
    }

    qlonglong addGoods(const QString& mc, const QString& jc, const QString& xh, double kcmin, double zkc,
                       double zcb, double lsj = 0) {
        return addRowOf(session, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ",
                        {mc, jc, xh, "A", kcmin, zkc, zcb, zkc > 0 ? zcb / zkc : 0, lsj, 0, 0, false});
    }
    qlonglong addMove(qlonglong tzid, const QString& rq, double sl, double zje, double gzje,
                      qlonglong jxid = 0, qlonglong khxqid = 0, const QString& bz = "") {
        return addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
                        {tzid, rq, sl, zje, gzje, jxid, khxqid, bz});
    }

    std::unique_ptr<frmmain> open(int startTab) {
        session.options.SSTab_Index = startTab;
        auto w = std::make_unique<frmmain>(session);
        w->show();
        return w;
    }
    static QTableView* list(frmmain& w) { return w.findChild<QTableView*>("ListViewL"); }
    static QComboBox* combo(frmmain& w) { return w.findChild<QComboBox*>("cmbSS"); }
    static int rows(frmmain& w) { return list(w)->model()->rowCount(); }
    static QString cell(frmmain& w, int row, int column) {
        const QAbstractItemModel* m = list(w)->model();
        return m->data(m->index(row, column)).toString();
    }
    static void search(frmmain& w, const QString& text) {
        combo(w)->setEditText(text);
        QTest::keyClick(combo(w)->lineEdit(), Qt::Key_Return);
        finish(w);
    }
    // A search shows its rows as they are found; this waits for the last.
    static void finish(frmmain& w) {
        while (w.loading())
            QTest::qWait(5);
    }
    static QString condition(frmmain& w) {
        const QString prefix = "select * from (" + listviews::baseStatement(w.currentTab()) + ") where ";
        return w.currentSql().startsWith(prefix) ? w.currentSql().mid(prefix.size()) : "not a search";
    }
};

} // namespace

TEST_F(MainWindowTest, StockLedgerFirstViewSearchAndReload) {
    // 250 goods entered in reverse name order; the first view shows 200 of them by name.
    double firstCosts = 0;
    Transaction many(session);
    for (int i = 250; i >= 1; --i) {
        addGoods(QString("货物%1").arg(i, 3, 10, QChar('0')), "HW", "X", 0, 1, i);
        if (i <= 200) firstCosts += i;
    }
    many.commit();
    const qlonglong screw = addGoods("螺丝钉", "LSD", "M6", 5, 15, 37.5, 3.5);
    session.options.Show_ZCB = false;
    auto w = open(listviews::Goods);
    ASSERT_EQ(w->currentTab(), listviews::Goods);
    ASSERT_EQ(rows(*w), 200);
    EXPECT_EQ(cell(*w, 0, 0), "1");
    EXPECT_EQ(cell(*w, 0, 1), "货物001/HW/X");
    EXPECT_EQ(cell(*w, 199, 1), "货物200/HW/X");
    EXPECT_EQ(cell(*w, 0, 4), "...");
    EXPECT_EQ(w->statusPanelText(),
              " 可点击鼠标右键选择操作 >>> 库存台账  ...   成本合计：" + vb::CStr(firstCosts));
    EXPECT_EQ(w->selectedGoods()->MC, "货物001"); // the first row starts selected
    EXPECT_TRUE(w->findChild<QPushButton*>("cmdS(21)")->isEnabled());

    // Blanks only: every row, past the first view's limit.
    search(*w, "   ");
    EXPECT_EQ(condition(*w), " id>0 ");
    EXPECT_EQ(rows(*w), 251);
    EXPECT_DOUBLE_EQ(scalar("select count(*) from T_Key where cc=''").toDouble(), 1);
    list(*w)->setCurrentIndex(list(*w)->model()->index(150, 2));
    const qlonglong picked = w->selectedGoods()->ID;
    w->Load_ListViewL_2(); // a reload after an edit keeps the operator's row
    EXPECT_EQ(w->selectedGoods()->ID, picked);

    session.options.Show_ZCB = true;
    search(*w, "螺丝");
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 3), "15/5");
    EXPECT_EQ(cell(*w, 0, 4), "37.5");
    EXPECT_EQ(w->selectedGoods()->ID, screw);
    EXPECT_EQ(w->currentKeyword(), "螺丝");

    // A reload after an edit keeps the search; a tab change drops it.
    session.execSql("update T_TZ set ZKC=16 where ID=" + QString::number(screw));
    w->Load_ListViewL_2();
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 3), "16/5");
    w->ssTABto01234(listviews::Sales);
    EXPECT_FALSE(w->selectedGoods().has_value());
    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(w->currentSql(), listviews::defaultStatement(listviews::Goods));
    EXPECT_EQ(rows(*w), 200);
}

TEST_F(MainWindowTest, GoodsBelowTheirMinimumAreCountedAndShownAlone) {
    addGoods("扳手", "BS", "大", 5, 4, 40);    // below its minimum
    addGoods("螺丝钉", "LSD", "M6", 5, 5, 12); // at it
    addGoods("钉子", "DZ", "1寸", 0, 0, 0);    // no minimum
    addGoods("锤子", "CZ", "", 3, 1, 9);       // below
    auto w = open(listviews::Sales);
    EXPECT_EQ(w->lowStockPanelText(), "");
    w->action("查看低于最小库存的商品")->trigger();
    ASSERT_EQ(w->currentTab(), listviews::Goods);
    ASSERT_EQ(rows(*w), 2);
    EXPECT_EQ(cell(*w, 0, 1), "扳手/BS/大");
    EXPECT_EQ(cell(*w, 1, 1), "锤子/CZ/");
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 库存台账  ...   成本合计：49");
    EXPECT_EQ(w->lowStockPanelText(), "低于最小库存：2 种");

    // Bought back above its minimum: a reload after the edit keeps the view, now without it.
    session.execSql("update T_TZ set ZKC=6 where MC='扳手'");
    w->Load_ListViewL_2();
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(w->lowStockPanelText(), "低于最小库存：1 种");
    // A tab change goes back to the first view; the right-click menu offers the view too.
    w->ssTABto01234(listviews::Sales);
    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(rows(*w), 4);
    EXPECT_EQ(w->lowStockPanelText(), "低于最小库存：1 种");
    EXPECT_TRUE(w->prepareContextMenu()->actions().contains(w->action("p查看低于最小库存的商品")));
    w->action("p查看低于最小库存的商品")->trigger();
    EXPECT_EQ(rows(*w), 1);
}

TEST_F(MainWindowTest, SalesAndPurchasesShowAmountsOwedAndTotals) {
    const qlonglong g = addGoods("螺丝钉", "LSD", "M6", 0, 10, 25);
    const qlonglong kh = session.addRow("T_KH", {{"KHMC", "张三"}, {"KHZL", "电话"}});
    const qlonglong gone = session.addRow("T_KH", {{"KHMC", "李四"}, {"KHZL", "手机"}});
    const qlonglong xq =
        session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-1"}, {"KHXQ", "装修"}, {"BJ", false}});
    const qlonglong gys = session.addRow("T_GYS", {{"GYSMC", "五金店"}, {"GYSZL", "城东"}, {"GHPZ", "螺丝"}});
    addMove(g, "2009-1-9", 2, 120, 20, kh, xq, "现金");
    addMove(g, "2009-1-8", 1, 120, 0, gone, 0, "");
    addMove(-g, "2009-1-2", 10, 25, 5, gys, xq, "");
    addMove(-g, "2009-1-1", 4, 10, 0);
    session.execSql("delete from T_KH where ID=" + QString::number(gone));

    auto w = open(listviews::Sales);
    ASSERT_EQ(rows(*w), 2);
    EXPECT_EQ(cell(*w, 0, 1), "2009-1-9");
    EXPECT_EQ(cell(*w, 0, 2), "螺丝钉/LSD/M6");
    EXPECT_EQ(cell(*w, 0, 3), "2");
    EXPECT_EQ(cell(*w, 0, 4), "120/20");
    EXPECT_EQ(cell(*w, 1, 4), "120");
    EXPECT_EQ(cell(*w, 0, 5), "现金/张三/电话/装修");
    EXPECT_EQ(cell(*w, 1, 5), "//"); // its customer was deleted
    EXPECT_EQ(w->selectedSale()->TZID, g);
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 销货记录   ...   金额合计：240");

    session.options.Show_JHZJE = false;
    w->ssTABto01234(listviews::Purchases);
    ASSERT_EQ(rows(*w), 2);
    EXPECT_EQ(cell(*w, 0, 4), ".../5");
    EXPECT_EQ(cell(*w, 1, 4), "...");
    EXPECT_EQ(cell(*w, 0, 5), "/五金店/城东/螺丝/张三/电话");
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 进货记录   ...   ");
    EXPECT_EQ(w->selectedPurchase()->TZID, -g);
    session.options.Show_JHZJE = true;
    w->Load_ListViewL_4();
    EXPECT_EQ(cell(*w, 0, 4), "25/5");
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 进货记录   ...   金额合计：35");

    // Searches look in the joined fields of the movement, numbers in their general form.
    search(*w, "五金");
    EXPECT_EQ(rows(*w), 1);
    search(*w, "4,");
    EXPECT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 3), "4");
}

TEST_F(MainWindowTest, KeywordConditionsAndMemory) {
    addGoods("螺丝钉", "LSD", "M6", 0, 1, 1);
    addGoods("螺丝帽", "LSM", "M8", 0, 1, 1);
    addGoods("扳手", "BS", "M6", 0, 1, 1);
    session.addRow("T_Key", {{"cc", "扳手"}});
    auto w = open(listviews::Goods);
    ASSERT_EQ(combo(*w)->count(), 1);
    EXPECT_EQ(combo(*w)->currentText(), ""); // the remembered keywords only fill the drop-down
    const QString f = listviews::searchFields(listviews::Goods);

    search(*w, ",,,");
    EXPECT_EQ(condition(*w), " id<0 ");
    EXPECT_EQ(rows(*w), 0);
    search(*w, "螺丝,,M6");
    EXPECT_EQ(condition(*w), " InStr(" + f + ",'螺丝')>0 and InStr(" + f + ",'M6')>0");
    EXPECT_EQ(rows(*w), 1);
    search(*w, "螺丝, M6"); // the blank after the comma belongs to the keyword
    EXPECT_EQ(condition(*w), " InStr(" + f + ",'螺丝')>0 and InStr(" + f + ",' M6')>0");
    EXPECT_EQ(rows(*w), 0);
    search(*w, "  lsd'  ");
    EXPECT_EQ(combo(*w)->currentText(), "lsd");
    EXPECT_EQ(rows(*w), 1); // letter case does not matter to the search

    // Remembered once per exact text, case counts; the drop-down grows at its end.
    combo(*w)->setEditText("扳手");
    w->findChild<QPushButton*>("cmdS(8)")->click(); // the search button does what Enter does
    finish(*w);
    EXPECT_EQ(rows(*w), 1);
    search(*w, "lsd");
    search(*w, "LSD");
    QStringList remembered;
    for (int i = 0; i < combo(*w)->count(); ++i)
        remembered << combo(*w)->itemText(i);
    EXPECT_EQ(remembered, QStringList({"扳手", ",,,", "螺丝,,M6", "螺丝, M6", "lsd", "LSD"}));
    EXPECT_EQ(scalar("select count(*) from T_Key").toLongLong(), 6);
    EXPECT_EQ(scalar("select count(*) from T_Key where cc='lsd'").toLongLong(),
              2); // the data file ignores case
}

TEST_F(MainWindowTest, PermissionsAndAlwaysDisabledItems) {
    session.admin = false;
    session.options.QX_TZin0 = session.options.QX_TZin = session.options.QX_TZedit = true;
    session.options.QX_TZfx = session.options.QX_INfx = true;
    auto w = open(listviews::Demands);
    const QStringList gated =
        QString("初始化 系统设置 察看操作日志 数据备份与恢复 新货物注册入库 p新货物注册入库 "
                "在账货物进货入库 p入库库存台账 p修改进货记录 p撤消进货记录 在账货物修改调整 "
                "p调整修改库存货物 营销状态统计分析 商品盈利能力统计分析")
            .split(' ');
    const QStringList open =
        QString("安全退出 编辑维护客户需求 销售出库 编辑维护供应商资料 项目预算器 算式计算器 "
                "功能介绍 操作帮助 关于 p添加客户需求 p添加供应商 p出库库存台账 p修改销货记录 "
                "p撤消销货记录 查看低于最小库存的商品 p查看低于最小库存的商品")
            .split(' ');
    const QStringList never = {"客户与营销统计分析", "供应商与营销统计分析", "P添加XS", "P添加JH"};
    for (const QString& name : gated) {
        ASSERT_TRUE(w->action(name)) << name.toStdString();
        EXPECT_FALSE(w->action(name)->isEnabled()) << name.toStdString();
    }
    for (const QString& name : open)
        EXPECT_TRUE(w->action(name)->isEnabled()) << name.toStdString();
    session.options.QX_TZin = false;
    w->SetQuanXian();
    EXPECT_TRUE(w->action("p撤消进货记录")->isEnabled());
    EXPECT_FALSE(w->action("p调整修改库存货物")->isEnabled());
    session.admin = true;
    w->SetQuanXian();
    for (const QString& name : gated + open)
        EXPECT_TRUE(w->action(name)->isEnabled()) << name.toStdString();
    for (const QString& name : never)
        EXPECT_FALSE(w->action(name)->isEnabled()) << name.toStdString();
}

TEST_F(MainWindowTest, RightClickMenusFollowTheList) {
    session.options.MingCheng = "东方五金";
    auto w = open(listviews::Sales);
    EXPECT_EQ(w->windowTitle(), "Vostrelv3.6 (东方五金)");
    EXPECT_EQ(w->prepareContextMenu(), nullptr); // empty sales list: no menu
    w->ssTABto01234(listviews::Purchases);
    EXPECT_EQ(w->prepareContextMenu(), nullptr);
    EXPECT_TRUE(w->findChild<QPushButton*>("cmdS(21)")->isEnabled());

    w->ssTABto01234(listviews::Demands);
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 客户需求   ...   ");
    EXPECT_FALSE(w->findChild<QPushButton*>("cmdS(21)")->isEnabled());
    EXPECT_EQ(w->prepareContextMenu()->objectName(), "pmenu_khxq");
    EXPECT_FALSE(w->action("p改变了结标记")->isEnabled());

    // An empty ledger takes the purchase and adjust items away until the gates are applied again.
    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(w->prepareContextMenu()->objectName(), "pmenu_KCTZ");
    EXPECT_FALSE(w->action("p入库库存台账")->isEnabled());
    EXPECT_FALSE(w->action("p出库库存台账")->isEnabled());
    addGoods("螺丝钉", "LSD", "M6", 0, 1, 1);
    w->Load_ListViewL_2();
    w->prepareContextMenu();
    EXPECT_TRUE(w->action("p出库库存台账")->isEnabled());
    EXPECT_FALSE(w->action("p入库库存台账")->isEnabled());
    EXPECT_FALSE(w->action("p调整修改库存货物")->isEnabled());
    w->SetQuanXian();
    w->prepareContextMenu();
    EXPECT_TRUE(w->action("p入库库存台账")->isEnabled());

    // Demands list with their customer label; a demand of a deleted customer shows none.
    const qlonglong kh = session.addRow("T_KH", {{"KHMC", "张三"}, {"KHZL", "电话"}});
    session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-2"}, {"KHXQ", "装修"}, {"BJ", true}});
    session.addRow("T_KH_XQ", {{"KHID", kh + 1}, {"RQ", "2009-1-1"}, {"KHXQ", "待修改"}, {"BJ", false}});
    w->ssTABto01234(listviews::Demands);
    ASSERT_EQ(rows(*w), 2);
    EXPECT_EQ(cell(*w, 0, 1), "2009-1-2");
    EXPECT_EQ(cell(*w, 0, 2), "张三(电话)");
    EXPECT_EQ(cell(*w, 0, 3), "已了|装修");
    EXPECT_EQ(cell(*w, 1, 2), "");
    EXPECT_EQ(cell(*w, 1, 3), "未了|待修改");
    w->prepareContextMenu();
    EXPECT_TRUE(w->action("p改变了结标记")->isEnabled());

    // The operations menu first brings its tab to the front (the form it opens is closed again).
    closeModalSoon();
    w->action("在账货物进货入库")->trigger();
    EXPECT_EQ(w->currentTab(), listviews::Goods);
    closeModalSoon();
    w->action("编辑维护供应商资料")->trigger();
    EXPECT_EQ(w->currentTab(), listviews::Suppliers);
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 供应商   ...   ");
}

TEST_F(MainWindowTest, TheWindowComesBackWhereItWasLeft) {
    auto w = open(listviews::Demands);
    w->resize(1200, 700);
    w->move(37, 41);
    const QRect closedAt = w->geometry();
    w->findChild<QPushButton*>("cmdS(0)")->click();
    EXPECT_FALSE(w->isVisible());
    // The next start on this data file puts the window back where the operator left it.
    EXPECT_EQ(open(listviews::Demands)->geometry(), closedAt);
}

using MainWindowToolsTest = LedgerFixture;

TEST_F(MainWindowToolsTest, CalculatorsOpenOnceAndCloseWithTheWindow) {
    auto w = std::make_unique<frmmain>(session);
    auto calculators = [] {
        int shown = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && (top->inherits("frmJSQ_HS") || top->inherits("frmJSQ_SS"))) ++shown;
        return shown;
    };
    w->action("项目预算器")->trigger();
    w->action("项目预算器")->trigger();
    w->action("算式计算器")->trigger();
    EXPECT_EQ(calculators(), 2);
    w->close();
    EXPECT_EQ(calculators(), 0);
    w.reset(); // with no calculator left open either
    QApplication::processEvents();
}

TEST_F(MainWindowTest, SettingsTakeEffectWhenTheSettingsWindowCloses) {
    addGoods("螺丝钉", "LSD", "M6", 0, 1, 2.5);
    auto w = open(listviews::Demands);
    session.execSql("update T_Option set SSTab_Index=2, Show_ZCB=True, QX_TZin=True where id=3");
    session.admin = false;
    w->afterSettings();
    EXPECT_EQ(w->currentTab(), listviews::Goods);
    EXPECT_EQ(cell(*w, 0, 4), "2.5");
    EXPECT_FALSE(w->action("p入库库存台账")->isEnabled());
    session.execSql("update T_Option set Show_ZCB=False where id=3");
    w->afterSettings(); // the same tab, reloaded with the new switch
    EXPECT_EQ(cell(*w, 0, 4), "...");
}

TEST_F(MainWindowTest, DemandsFirstViewShowsTheLatestTwoHundred) {
    const qlonglong kh = session.addRow("T_KH", {{"KHMC", "张三"}, {"KHZL", "电话"}});
    const qlonglong other = session.addRow("T_KH", {{"KHMC", "阿明"}, {"KHZL", ""}});
    Transaction many(session);
    for (int i = 0; i < 210; ++i)
        session.addRow("T_KH_XQ", {{"KHID", kh},
                                   {"RQ", QDate(2010, 1, 1).addDays(i)},
                                   {"KHXQ", QString("需求%1").arg(i)},
                                   {"BJ", false}});
    // Entered last but dated early: older than the latest 200.
    session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-1"}, {"KHXQ", "补记"}, {"BJ", false}});
    session.addRow("T_KH_XQ", {{"KHID", other}, {"RQ", "2010-7-29"}, {"KHXQ", "新需求"}, {"BJ", true}});
    many.commit();
    auto w = open(listviews::Demands);
    ASSERT_EQ(rows(*w), 200);
    // The newest date first; on the same date by customer label.
    EXPECT_EQ(cell(*w, 0, 1), "2010-7-29");
    EXPECT_EQ(cell(*w, 0, 2), "阿明()");
    EXPECT_EQ(cell(*w, 0, 3), "已了|新需求");
    EXPECT_EQ(cell(*w, 1, 3), "未了|需求209");
    EXPECT_EQ(cell(*w, 199, 3), "未了|需求11");
    search(*w, "补记");
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(w->selectedDemand()->KHID, kh);
}

TEST_F(MainWindowTest, DoneFlagTogglesBackAndFormsReloadTheirView) {
    const qlonglong kh = session.addRow("T_KH", {{"KHMC", "张三"}, {"KHZL", "电话"}});
    session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-2"}, {"KHXQ", "装修"}, {"BJ", false}});
    auto w = open(listviews::Demands);
    ASSERT_EQ(rows(*w), 1);
    w->action("p改变了结标记")->trigger();
    EXPECT_EQ(cell(*w, 0, 3), "已了|装修");
    w->action("p改变了结标记")->trigger();
    EXPECT_EQ(cell(*w, 0, 3), "未了|装修");
    EXPECT_EQ(session.query("select BJ from T_KH_XQ").value(0, 0).toBool(), false);

    // Whatever happened to the demands while the form was open shows when it closes.
    session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-3"}, {"KHXQ", "门窗"}, {"BJ", false}});
    closeModalSoon();
    w->action("p添加客户需求")->trigger();
    EXPECT_EQ(rows(*w), 2);

    w->ssTABto01234(listviews::Suppliers);
    session.addRow("T_GYS", {{"GYSMC", "华北钢材"}});
    closeModalSoon();
    w->action("p添加供应商")->trigger();
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 1), "华北钢材()");
    search(*w, "华北");
    EXPECT_EQ(w->selectedSupplier()->GYSMC, "华北钢材");
}

// The program was told to end: once the application's loop has run and ended, modal windows
// may run their loops again.
static void endOfProgramSeen() {
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();
}

TEST_F(MainWindowTest, MenuItemsOpenTheirWindowsAndACompletedInitialisationOrRestoreEnds) {
    auto w = open(listviews::Demands);
    // The modal window each item opens, closed again at once.
    auto opened = [&](const char* item) {
        QString name;
        QTimer::singleShot(0, [&] {
            if (QWidget* form = QApplication::activeModalWidget()) {
                name = form->objectName();
                form->close();
            }
        });
        w->action(item)->trigger();
        return name;
    };
    EXPECT_EQ(opened("系统设置"), "frmOption");
    EXPECT_EQ(opened("察看操作日志"), "frmShowTXT");
    EXPECT_EQ(opened("功能介绍"), "frmHelp");
    EXPECT_EQ(opened("操作帮助"), "frmHelp");
    EXPECT_EQ(opened("关于"), "frmAbout");
    EXPECT_EQ(opened("数据备份与恢复"), "frmBakup");
    EXPECT_EQ(opened("初始化"), "frmINIT");
    EXPECT_EQ(opened("营销状态统计分析"), "frmTJFX_ShiJianD");
    EXPECT_EQ(opened("商品盈利能力统计分析"), "frmTJFX_ShangPin");
    EXPECT_TRUE(w->isVisible()); // given up: the program goes on

    session.initUnlocked = true;
    boxes.answers = {false, true};
    QTimer::singleShot(0, [] {
        QWidget* form = QApplication::activeModalWidget();
        form->findChild<QLineEdit*>("Text1")->setText("8");
        click(*form, 1);
    });
    w->action("初始化")->trigger();
    EXPECT_FALSE(w->isVisible());
    endOfProgramSeen();

    // So does a completed restore.
    w = open(listviews::Demands);
    DataFileCopies(session).backup(dir.filePath("b.xkg"));
    files.answers = {dir.filePath("b.xkg")};
    QTimer::singleShot(0, [] {
        QWidget* form = QApplication::activeModalWidget();
        form->findChild<QLineEdit*>("Text1")->setText("8");
        click(*form, 3);
    });
    w->action("数据备份与恢复")->trigger();

    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, AnUndoThatFailsSaysWhy) {
    const qlonglong g = addGoods("螺丝钉", "LSD", "M6", 0, 8, 20);
    addMove(-g, "2009-1-1", 10, 25, 0);
    addMove(g, "2009-1-2", 2, 30, 0);
    auto sales = open(listviews::Sales);
    auto purchases = open(listviews::Purchases);
    session.execSql("delete from T_TZ where ID=" + QString::number(g)); // removed since the lists loaded
    sales->action("p撤消销货记录")->trigger();
    purchases->action("p撤消进货记录")->trigger();
    ASSERT_EQ(boxes.shown.size(), 2u); // no question first
    for (const auto& shown : boxes.shown)
        expectBox(shown, ScriptedMessageBoxes::Kind::Warning, "  撤  消  失  败  ！  \n商品已不存在",
                  "Vostrel");
    EXPECT_EQ(scalar("select count(*) from T_IO").toLongLong(), 2);
}
