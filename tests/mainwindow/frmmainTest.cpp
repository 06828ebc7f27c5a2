// The main window on a real data file: first views, hidden money, totals, permissions,
// keyword search, right-click menus and the windows it opens.
#include "MainWindowFixture.h"
#include "admin/DataFileCopies.h"
#include "core/Startup.h"
#include "core/Transaction.h"
#include "core/Vb.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        session.admin = true;
    }
    qlonglong addDemand(qlonglong kh, const QString& rq, const QString& text, bool done = false) {
        return addRowOf(session, "T_KH_XQ", "KHID,RQ,KHXQ,BJ", {kh, rq, text, done});
    }
};

} // namespace

TEST_F(MainWindowTest, StockLedgerFirstViewSearchAndReload) {
    // 250 goods entered in reverse name order; the first view shows 200 of them by name.
    double firstCosts = 0;
    Transaction many(session);
    for (int i = 250; i >= 1; --i) {
        addGoods(QString("货物%1").arg(i, 3, 10, QChar('0')), 1, i, 0, "HW");
        if (i <= 200) firstCosts += i;
    }
    many.commit();
    const qlonglong screw = addGoods("螺丝钉", 15, 37.5, 5, "LSD", "M6");
    session.options.Show_ZCB = false;
    auto w = open(listviews::Goods);
    ASSERT_EQ(rows(*w), 200);
    EXPECT_EQ(cell(*w, 0, 0), "1");
    EXPECT_EQ(cell(*w, 0, 1), "货物001/HW/X");
    EXPECT_EQ(cell(*w, 199, 1), "货物200/HW/X");
    EXPECT_EQ(cell(*w, 0, 4), "...");
    EXPECT_EQ(w->statusPanelText(),
              " 可点击鼠标右键选择操作 >>> 库存台账  ...   成本合计：" + vb::CStr(firstCosts));
    EXPECT_EQ(w->selectedGoods()->MC, "货物001"); // the first row starts selected

    // Blanks only: every row, past the first view's limit.
    search(*w, "   ");
    EXPECT_EQ(rows(*w), 251);
    list(*w)->setCurrentIndex(list(*w)->model()->index(150, 2));
    const qlonglong picked = w->selectedGoods()->ID;
    w->Load_ListViewL_2(); // a reload after an edit keeps the operator's row
    EXPECT_EQ(w->selectedGoods()->ID, picked);

    // A search's reload and a tab change: StreamedSearchTest.
    session.options.Show_ZCB = true;
    search(*w, "螺丝");
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 3), "15/5");
    EXPECT_EQ(cell(*w, 0, 4), "37.5");
    EXPECT_EQ(w->selectedGoods()->ID, screw);
    w->ssTABto01234(listviews::Sales);
    EXPECT_FALSE(w->selectedGoods().has_value());
}

TEST_F(MainWindowTest, GoodsBelowTheirMinimumAreMarkedCountedAndShownAlone) {
    addGoods("扳手", 4, 40, 5);       // below its minimum
    addGoods("差一点", 0.29, 9, 0.3); // a hundredth below
    addGoods("钉子", 0, 0);           // no minimum, and none in stock
    addGoods("负数", -1, 0);          // no minimum
    addGoods("螺丝钉", 5, 12, 5);     // at it
    auto w = open(listviews::Sales);
    EXPECT_EQ(w->lowStockPanelText(), "");
    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(w->lowStockPanelText(), "低于最小库存：2 种");
    ASSERT_EQ(rows(*w), 5);
    for (int row = 0; row < 5; ++row) { // in name order
        const bool low = row < 2;
        SCOPED_TRACE(cell(*w, row, 1).toStdString());
        const QModelIndex goods = list(*w)->model()->index(row, 1), stock = goods.siblingAtColumn(3);
        EXPECT_EQ(goods.data(Qt::BackgroundRole).isValid(), low);
        EXPECT_EQ(goods.data(Qt::ForegroundRole).isValid(), low);
        EXPECT_EQ(stock.data(Qt::DecorationRole).isValid(), low);
        EXPECT_FALSE(goods.data(Qt::DecorationRole).isValid());
    }

    w->action("查看低于最小库存的商品")->trigger();
    ASSERT_EQ(rows(*w), 2);
    EXPECT_EQ(cell(*w, 0, 1), "扳手/JC/X");
    EXPECT_EQ(cell(*w, 1, 1), "差一点/JC/X");
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 库存台账  ...   成本合计：49");
    // Bought back above its minimum: a reload after the edit keeps the view, now without it.
    session.execSql("update T_TZ set ZKC=6 where MC='扳手'");
    w->Load_ListViewL_2();
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(w->lowStockPanelText(), "低于最小库存：1 种");
    // A tab change goes back to the first view; the right-click menu offers the view too.
    w->ssTABto01234(listviews::Sales);
    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(rows(*w), 5);
    w->action("p查看低于最小库存的商品")->trigger();
    EXPECT_EQ(rows(*w), 1);
}

TEST_F(MainWindowTest, SalesAndPurchasesShowAmountsOwedAndTotals) {
    const qlonglong g = addGoods("螺丝钉", 10, 25, 0, "LSD", "M6");
    session.execNative(
        "INSERT INTO T_KH (KHMC, KHZL) VALUES ('张三', '电话'); INSERT INTO T_KH_XQ (KHID, RQ, "
        "KHXQ, BJ) VALUES (1, '2009-01-01', '装修', 0); INSERT INTO T_GYS (GYSMC, GYSZL, GHPZ) "
        "VALUES ('五金店', '城东', '螺丝')");
    addMove(g, "2009-1-9", 2, 120, 20, 1, 1, "现金");
    addMove(g, "2009-1-8", 1, 120, 0, 2);
    addMove(-g, "2009-1-2", 10, 25, 5, 1, 1);
    addMove(-g, "2009-1-1", 4, 10);

    auto w = open(listviews::Sales);
    ASSERT_EQ(rows(*w), 2);
    const QStringList firstSale = {"1", "2009-1-9", "螺丝钉/LSD/M6", "2", "120/20", "现金/张三/电话/装修"};
    for (int c = 0; c < firstSale.size(); ++c)
        EXPECT_EQ(cell(*w, 0, c), firstSale[c]) << c;
    EXPECT_EQ(cell(*w, 1, 4), "120");
    EXPECT_EQ(cell(*w, 1, 5), "//"); // its customer is gone
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
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 3), "4");
}

// Keywords remembered once per exact text: KeywordComboTest.
TEST_F(MainWindowTest, KeywordConditionsAndMemory) {
    addGoods("螺丝钉", 1, 1, 0, "LSD", "M6");
    addGoods("螺丝帽", 1, 1, 0, "LSM", "M8");
    addGoods("扳手", 1, 1, 0, "BS", "M6");
    session.addRow("T_Key", {{"cc", "扳手"}});
    auto w = open(listviews::Goods);
    auto* combo = w->findChild<QComboBox*>("cmbSS");
    EXPECT_EQ(combo->currentText(), ""); // the remembered keywords only fill the drop-down

    // The blank after a comma belongs to the keyword; letter case does not matter.
    const std::pair<QString, int> searches[] = {
        {",,,", 0}, {"螺丝,,M6", 1}, {"螺丝, M6", 0}, {"  lsd'  ", 1}};
    for (const auto& [keywords, found] : searches) {
        search(*w, keywords);
        EXPECT_EQ(rows(*w), found) << keywords.toStdString();
    }
    EXPECT_EQ(combo->currentText(), "lsd"); // blanks and apostrophes taken away

    combo->setEditText("扳手");
    w->findChild<QPushButton*>("cmdS(8)")->click(); // the search button does what Enter does
    finish(*w);
    EXPECT_EQ(rows(*w), 1);
    EXPECT_EQ(combo->count(), 5); // the one remembered before, and each search's
    EXPECT_EQ(combo->itemText(4), "lsd");
}

TEST_F(MainWindowTest, SwitchesGateTheirItemsForTheOrdinaryUserAndTakeEffectAsTheSettingsWindowCloses) {
    const std::pair<bool Options::*, QStringList> gates[] = {
        {&Options::QX_TZin0, {"新货物注册入库", "p新货物注册入库"}},
        {&Options::QX_TZin, {"在账货物进货入库", "p入库库存台账", "p修改进货记录", "p撤消进货记录"}},
        {&Options::QX_TZedit, {"在账货物修改调整", "p调整修改库存货物"}},
        {&Options::QX_TZfx, {"营销状态统计分析"}},
        {&Options::QX_INfx, {"商品盈利能力统计分析"}}};
    const QStringList adminOnly = {"初始化", "系统设置", "察看操作日志", "数据备份与恢复"};
    auto w = open(listviews::Demands);
    for (const bool admin : {false, true}) {
        session.admin = admin;
        for (const auto& [on, itsItems] : gates) {
            for (const auto& [option, items] : gates)
                session.options.*option = option == on;
            w->SetQuanXian();
            for (const auto& [option, items] : gates)
                for (const QString& name : items)
                    EXPECT_EQ(w->action(name)->isEnabled(), admin || option != on)
                        << name.toStdString() << (admin ? " administrator" : "");
        }
        for (const QString& name : adminOnly)
            EXPECT_EQ(w->action(name)->isEnabled(), admin) << name.toStdString();
    }

    // Settings take effect when the settings window closes.
    addGoods("螺丝钉", 1, 2.5);
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

TEST_F(MainWindowTest, MenusFollowTheListAndClosingTakesTheCalculatorsAlong) {
    auto w = open(listviews::Sales);
    EXPECT_EQ(w->prepareContextMenu(), nullptr); // empty sales list: no menu
    w->ssTABto01234(listviews::Purchases);
    EXPECT_EQ(w->prepareContextMenu(), nullptr);
    w->ssTABto01234(listviews::Demands);
    EXPECT_EQ(w->prepareContextMenu()->objectName(), "pmenu_khxq");
    EXPECT_FALSE(w->action("p改变了结标记")->isEnabled());

    // An empty ledger takes the purchase and adjust items away until the gates are applied again.
    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(w->prepareContextMenu()->objectName(), "pmenu_KCTZ");
    EXPECT_FALSE(w->action("p入库库存台账")->isEnabled());
    EXPECT_FALSE(w->action("p出库库存台账")->isEnabled());
    addGoods("螺丝钉", 1, 1);
    w->Load_ListViewL_2();
    w->prepareContextMenu();
    EXPECT_TRUE(w->action("p出库库存台账")->isEnabled());
    EXPECT_FALSE(w->action("p入库库存台账")->isEnabled());
    EXPECT_FALSE(w->action("p调整修改库存货物")->isEnabled());
    w->SetQuanXian();
    w->prepareContextMenu();
    EXPECT_TRUE(w->action("p入库库存台账")->isEnabled());

    // The operations menu first brings its tab to the front (the form it opens is closed again).
    closeModalSoon();
    w->action("在账货物进货入库")->trigger();
    EXPECT_EQ(w->currentTab(), listviews::Goods);
    closeModalSoon();
    w->action("编辑维护供应商资料")->trigger();
    EXPECT_EQ(w->currentTab(), listviews::Suppliers);
    EXPECT_EQ(w->statusPanelText(), " 可点击鼠标右键选择操作 >>> 供应商   ...   ");

    // Closing takes the calculators along, and the window comes back where it was left.
    auto calculators = [] {
        int shown = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            shown += top->isVisible() && (top->inherits("frmJSQ_HS") || top->inherits("frmJSQ_SS"));
        return shown;
    };
    w->action("项目预算器")->trigger();
    w->action("项目预算器")->trigger(); // the one already open
    w->action("算式计算器")->trigger();
    EXPECT_EQ(calculators(), 2);
    w->resize(1200, 700);
    w->move(37, 41);
    const QRect closedAt = w->geometry();
    w->findChild<QPushButton*>("cmdS(0)")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(calculators(), 0);
    w.reset(); // with no calculator left open either
    QApplication::processEvents();
    // The next start on this data file puts the window back where the operator left it.
    EXPECT_EQ(open(listviews::Demands)->geometry(), closedAt);
}

TEST_F(MainWindowTest, DemandsFirstViewDoneFlagAndFormsReloadingTheirView) {
    const qlonglong kh = session.addRow("T_KH", {{"KHMC", "张三"}, {"KHZL", "电话"}});
    const qlonglong other = session.addRow("T_KH", {{"KHMC", "阿明"}, {"KHZL", ""}});
    Transaction many(session);
    for (int i = 0; i < 210; ++i)
        addDemand(kh, vb::DateText(QDate(2010, 1, 1).addDays(i)), QString("需求%1").arg(i));
    // Entered last but dated early: older than the latest 200.
    addDemand(kh, "2009-1-1", "补记");
    addDemand(other, "2010-7-29", "新需求", true);
    addDemand(other + 1, "2010-7-29", "客户已删"); // shows no customer
    many.commit();
    auto w = open(listviews::Demands);
    ASSERT_EQ(rows(*w), 200);
    // The newest date first; on the same date by customer label.
    EXPECT_EQ(cell(*w, 0, 2), "");
    EXPECT_EQ(cell(*w, 0, 3), "未了|客户已删");
    EXPECT_EQ(cell(*w, 1, 1), "2010-7-29");
    EXPECT_EQ(cell(*w, 1, 2), "阿明()");
    EXPECT_EQ(cell(*w, 1, 3), "已了|新需求");
    EXPECT_EQ(cell(*w, 2, 3), "未了|需求209");
    EXPECT_EQ(cell(*w, 199, 3), "未了|需求12");

    // The done flag of the first row, there and back.
    w->prepareContextMenu();
    EXPECT_TRUE(w->action("p改变了结标记")->isEnabled());
    w->action("p改变了结标记")->trigger();
    EXPECT_EQ(cell(*w, 0, 3), "已了|客户已删");
    w->action("p改变了结标记")->trigger();
    EXPECT_EQ(cell(*w, 0, 3), "未了|客户已删");
    EXPECT_EQ(scalar("select BJ from T_KH_XQ where KHXQ='客户已删'").toBool(), false);

    // Whatever happened to the demands while the form was open shows when it closes.
    addDemand(kh, "2011-1-3", "门窗");
    closeModalSoon();
    w->action("p添加客户需求")->trigger();
    EXPECT_EQ(cell(*w, 0, 3), "未了|门窗");
    search(*w, "补记");
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(w->selectedDemand()->KHID, kh);

    w->ssTABto01234(listviews::Suppliers);
    session.addRow("T_GYS", {{"GYSMC", "华北钢材"}});
    closeModalSoon();
    w->action("p添加供应商")->trigger();
    ASSERT_EQ(rows(*w), 1);
    EXPECT_EQ(cell(*w, 0, 1), "华北钢材()");
    search(*w, "华北");
    EXPECT_EQ(w->selectedSupplier()->GYSMC, "华北钢材");
}

TEST_F(MainWindowTest, ACompletedInitialisationOrRestoreEndsTheProgram) {
    // The administrator's password typed into the window the item opens, then its button.
    auto complete = [&](frmmain& w, const char* item, int button) {
        QTimer::singleShot(0, [button] {
            QWidget* form = QApplication::activeModalWidget();
            form->findChild<QLineEdit*>("Text1")->setText("8");
            click(*form, button);
        });
        w.action(item)->trigger();
    };
    LoadOptions(session); // the administrator's password as stored
    auto w = open(listviews::Demands);
    closeModalSoon();
    w->action("初始化")->trigger();
    EXPECT_TRUE(w->isVisible()); // given up: the program goes on
    session.initUnlocked = true;
    boxes.answers = {false, true};
    complete(*w, "初始化", 1);
    EXPECT_FALSE(w->isVisible());
    // The program was told to end: once the application's loop has run and ended, modal
    // windows may run their loops again.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();

    w = open(listviews::Demands);
    DataFileCopies(session).backup(dir.filePath("b.xkg"));
    files.answers = {dir.filePath("b.xkg")};
    complete(*w, "数据备份与恢复", 3);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, AnUndoThatFailsSaysWhy) {
    const qlonglong g = addGoods("螺丝钉", 8, 20);
    addMove(-g, "2009-1-1", 10, 25);
    addMove(g, "2009-1-2", 2, 30);
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
