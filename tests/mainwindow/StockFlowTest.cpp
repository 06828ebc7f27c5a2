// A newcomer's first day, through the main window and its stock forms: log in, register a
// goods item with its first purchase, buy more, sell, edit both records, undo the sale and
// remove the item. The lists, the status totals and the operation log follow each step.
#include "core/Startup.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "support/TestFixture.h"
#include "ui/frmKey.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

class StockFlowTest : public LedgerFixture {
protected:
    // Runs `act` on the modal form that `open` shows, once it is up.
    static void withModal(const std::function<void()>& open, const std::function<void(QWidget&)>& act) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QWidget* form = QApplication::activeModalWidget();
            ASSERT_NE(form, nullptr);
            ran = true;
            act(*form);
            if (form->isVisible()) form->close();
        });
        open();
        EXPECT_TRUE(ran);
    }
    static void set(QWidget& form, const QString& box, const QString& text) {
        auto* b = form.findChild<QLineEdit*>(box);
        ASSERT_NE(b, nullptr) << box.toStdString();
        b->setText(text);
    }
    QString total(frmmain& w) {
        const QString s = w.statusPanelText();
        return s.mid(s.indexOf(QStringLiteral("：")) + 1);
    }
};

} // namespace

TEST_F(StockFlowTest, NewcomerFlow) {
    LoadOptions(session);
    {
        frmKey login(session);
        login.findChild<QLineEdit*>("Text1")->setText("8");
        click(login, 1);
    }
    ASSERT_TRUE(session.admin);
    session.options.SSTab_Index = listviews::Goods;
    frmmain w(session);
    w.show();
    ASSERT_EQ(w.currentTab(), listviews::Goods);

    withModal([&] { w.action("p新货物注册入库")->trigger(); },
              [&](QWidget& f) {
                  set(f, "Text1(0)", "螺丝钉子");
                  set(f, "Text1(2)", "M8");
                  set(f, "Text2(0)", "10");
                  set(f, "Text2(2)", "50");
                  click(f, 1);
              });
    ASSERT_EQ(w.selectedGoods()->MC, "螺丝钉子");
    EXPECT_EQ(w.selectedGoods()->JC, "LSDZ");
    EXPECT_EQ(total(w), "50");

    withModal([&] { w.action("p入库库存台账")->trigger(); },
              [&](QWidget& f) {
                  // A new supplier through button 3, then chosen.
                  withModal([&] { click(f, 3); },
                            [&](QWidget& gys) {
                                set(gys, "Text1", "永固五金");
                                set(gys, "Text3", "螺丝");
                                click(gys, 1);
                            });
                  auto* suppliers = f.findChild<QComboBox*>("cmbGYS");
                  ASSERT_EQ(suppliers->count(), 2);
                  suppliers->setCurrentIndex(1);
                  set(f, "Text2(0)", "10");
                  set(f, "Text2(2)", "70");
                  click(f, 1);
              });
    EXPECT_EQ(scalar("select JXID from T_IO where ZJE=70").toLongLong(),
              scalar("select ID from T_GYS").toLongLong());
    EXPECT_EQ(w.selectedGoods()->ZKC, 20);
    EXPECT_EQ(total(w), "120");

    withModal([&] { w.action("p出库库存台账")->trigger(); },
              [&](QWidget& f) {
                  set(f, "Text2(0)", "5");
                  click(f, 1);
              });
    EXPECT_EQ(w.selectedGoods()->ZKC, 15);
    EXPECT_EQ(total(w), "90");

    // The purchase of 10 for 70 becomes 80: the cost rises by 10.
    w.ssTABto01234(listviews::Purchases);
    auto* list = w.findChild<QTableView*>("ListViewL");
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        list->selectRow(row);
        if (w.selectedPurchase()->ZJE == 70) break;
    }
    ASSERT_EQ(w.selectedPurchase()->ZJE, 70);
    withModal([&] { w.action("p修改进货记录")->trigger(); },
              [&](QWidget& f) {
                  set(f, "Text2(2)", "80");
                  click(f, 1);
              });
    EXPECT_EQ(total(w), "130"); // 50 + 80

    // The sale of 5 becomes 8: the cost is the unit cost 6 times the 12 left.
    w.ssTABto01234(listviews::Sales);
    withModal([&] { w.action("p修改销货记录")->trigger(); },
              [&](QWidget& f) {
                  set(f, "Text2(0)", "8");
                  click(f, 1);
              });
    EXPECT_EQ(w.selectedSale()->SL, 8);

    boxes.clear();
    w.action("p撤消销货记录")->trigger();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "该操作将撤消本次销售并还原库存，点“是”完成撤销，点“否”取消本次操作。");
    EXPECT_EQ(boxes.shown[1].text, "  撤  消  完  成  ！  ");
    EXPECT_EQ(w.statusPanelText(), " 可点击鼠标右键选择操作 >>> 销货记录   ...   金额合计：0");

    w.ssTABto01234(listviews::Goods);
    EXPECT_EQ(w.selectedGoods()->ZKC, 20);
    EXPECT_EQ(total(w), "120");

    withModal([&] { w.action("p调整修改库存货物")->trigger(); }, [&](QWidget& f) { click(f, 2); });
    EXPECT_FALSE(w.selectedGoods().has_value());
    EXPECT_EQ(total(w), "0");
    EXPECT_EQ(scalar("select count(*) from T_IO").toLongLong(), 0);

    EXPECT_EQ(log(), QStringList({"管理员登录成功", "新商品注册入库:螺丝钉子(M8)", "进货登记:螺丝钉子(LSDZ)",
                                  "售出登记:螺丝钉子(LSDZ)", "修改进货记录:螺丝钉子(LSDZ)",
                                  "修改销售记录:螺丝钉子(LSDZ)", "注销商品:螺丝钉子(M8)"}));
}
