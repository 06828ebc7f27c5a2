// A newcomer's first day, through the main window and its stock forms: register a goods item
// with its first purchase, buy more from a new supplier, edit the purchase and remove the item.
// The list and its total follow each step (what each form stores and logs: tests/stock; an undo
// from the window: FileFaultsTest).
#include "MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <functional>

namespace {

class StockFlowTest : public MainWindowFixture {
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
    // Types into the boxes, given as name, text, name, text..., then clicks button `save`.
    static void fill(QWidget& form, const QStringList& boxesAndTexts, int save) {
        for (int i = 0; i + 1 < boxesAndTexts.size(); i += 2)
            form.findChild<QLineEdit*>(boxesAndTexts[i])->setText(boxesAndTexts[i + 1]);
        click(form, save);
    }
    // The form of the window's action, filled and saved with button 1.
    static void fill(frmmain& w, const char* action, const QStringList& boxesAndTexts) {
        withModal([&] { w.action(action)->trigger(); }, [&](QWidget& f) { fill(f, boxesAndTexts, 1); });
    }
    static QString total(frmmain& w) {
        const QString s = w.statusPanelText();
        return s.mid(s.indexOf(QStringLiteral("：")) + 1);
    }
};

} // namespace

TEST_F(StockFlowTest, NewcomerFlow) {
    session.admin = true;
    session.options.Show_JHZJE = true; // the purchases' total shows
    auto w = open(listviews::Goods);

    fill(*w, "p新货物注册入库",
         {"Text1(0)", "螺丝钉子", "Text1(2)", "M8", "Text2(0)", "10", "Text2(2)", "50"});
    ASSERT_EQ(w->selectedGoods()->MC, "螺丝钉子");
    EXPECT_EQ(total(*w), "50");

    withModal([&] { w->action("p入库库存台账")->trigger(); },
              [&](QWidget& f) {
                  // A new supplier through button 3, then chosen.
                  withModal([&] { click(f, 3); }, [&](QWidget& gys) { fill(gys, {"Text1", "永固五金"}, 1); });
                  auto* suppliers = f.findChild<QComboBox*>("cmbGYS");
                  ASSERT_EQ(suppliers->count(), 2);
                  suppliers->setCurrentIndex(1);
                  fill(f, {"Text2(0)", "10", "Text2(2)", "70"}, 1);
              });
    EXPECT_EQ(scalar("select JXID from T_IO where ZJE=70").toLongLong(),
              scalar("select ID from T_GYS").toLongLong());
    EXPECT_EQ(w->selectedGoods()->ZKC, 20);
    EXPECT_EQ(total(*w), "120");

    // The purchase of 10 for 70 becomes 80.
    w->ssTABto01234(listviews::Purchases);
    for (int row = 0; row < rows(*w) && w->selectedPurchase()->ZJE != 70; ++row)
        list(*w)->selectRow(row);
    ASSERT_EQ(w->selectedPurchase()->ZJE, 70);
    fill(*w, "p修改进货记录", {"Text2(2)", "80"});
    EXPECT_EQ(total(*w), "130"); // 50 + 80

    w->ssTABto01234(listviews::Goods);
    EXPECT_EQ(w->selectedGoods()->ZKC, 20);
    withModal([&] { w->action("p调整修改库存货物")->trigger(); }, [&](QWidget& f) { click(f, 2); });
    EXPECT_FALSE(w->selectedGoods().has_value());
    EXPECT_EQ(total(*w), "0");
    EXPECT_EQ(scalar("select count(*) from T_IO").toLongLong(), 0);
}
