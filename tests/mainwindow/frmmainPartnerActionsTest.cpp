// The demand and supplier items of the main window's right-click menus.
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "support/TestFixture.h"

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTimer>

namespace {

class PartnerActionsTest : public LedgerFixture {
protected:
    static QString cell(frmmain& w, int row, int column) {
        const QAbstractItemModel* m = w.findChild<QTableView*>("ListViewL")->model();
        return m->data(m->index(row, column)).toString();
    }
    static int rows(frmmain& w) { return w.findChild<QTableView*>("ListViewL")->model()->rowCount(); }
    // The form the next action opens is closed as soon as it runs modally.
    static void closeNextForm() {
        QTimer::singleShot(0, [] {
            if (QWidget* form = QApplication::activeModalWidget()) form->close();
        });
    }
};

} // namespace

TEST_F(PartnerActionsTest, DoneFlagTogglesBackAndFormsReloadTheirView) {
    const qlonglong kh = session.addRow("T_KH", {{"KHMC", "张三"}, {"KHZL", "电话"}});
    session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-2"}, {"KHXQ", "装修"}, {"BJ", false}});
    session.options.SSTab_Index = listviews::Demands;
    frmmain w(session);
    w.show();
    ASSERT_EQ(rows(w), 1);
    w.action("p改变了结标记")->trigger();
    EXPECT_EQ(cell(w, 0, 3), "已了|装修");
    w.action("p改变了结标记")->trigger();
    EXPECT_EQ(cell(w, 0, 3), "未了|装修");
    EXPECT_EQ(session.query("select BJ from T_KH_XQ").value(0, 0).toBool(), false);

    // Whatever happened to the demands while the form was open shows when it closes.
    session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-3"}, {"KHXQ", "门窗"}, {"BJ", false}});
    closeNextForm();
    w.action("p添加客户需求")->trigger();
    EXPECT_EQ(rows(w), 2);

    w.ssTABto01234(listviews::Suppliers);
    session.addRow("T_GYS", {{"GYSMC", "华北钢材"}});
    closeNextForm();
    w.action("p添加供应商")->trigger();
    ASSERT_EQ(rows(w), 1);
    EXPECT_EQ(cell(w, 0, 1), "华北钢材()");
}
