#include "PartnerFixture.h"
#include "partners/CustomerListModel.h"
#include "partners/GroupedDemandListModel.h"
#include "partners/SupplierListModel.h"
#include "partners/frmAddGYS.h"
#include "partners/frmAddKH.h"
#include "partners/frmAddKHXQ.h"
#include "ui/MessageBanner.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

// A model that breaks Qt's rules ends the test run, not only a QtTest one.
constexpr auto kFatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

void search(QWidget& form, const QString& text) {
    form.findChild<QComboBox*>("cmbSS")->setEditText(text);
    click(form, 8);
}

} // namespace

using CustomerFormTest = PartnerFixture;
using DemandFormTest = PartnerFixture;
using SupplierFormTest = PartnerFixture;

TEST_F(CustomerFormTest, ShowsTheListRefusesShortNamesTheWayEachButtonDoesAndFailuresChangeNothing) {
    demand(customer("甲方公司", "城东"), QDate(2024, 5, 1), "螺丝");
    frmAddKH form(session);
    QAbstractItemModelTester tester(&form.model(), kFatal);
    ASSERT_EQ(form.model().rowCount(), 1);
    EXPECT_EQ(child(form, "Text1")->text(), "甲方公司"); // the first row is shown after a load
    EXPECT_EQ(child(form, "Text2")->text(), "城东");

    child(form, "Text1")->setText(" a'b ");
    click(form, 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    expectBox(boxes.shown[0], ScriptedMessageBoxes::Kind::Critical, " 名　称　太　短，　保　存　失　败 ！ ",
              "错误");
    click(form, 2);
    EXPECT_EQ(boxes.shown.size(), 1u);                // changes are refused in the banner
    EXPECT_EQ(child(form, "Text1")->text(), " a'b "); // left as typed
    EXPECT_TRUE(form.banner().isVisibleTo(&form));
    EXPECT_EQ(form.banner().text(), "名　称　太　短，　保　存　失　败 ！");
    EXPECT_EQ(rowsText("select KHMC from T_KH"), "甲方公司");

    child(form, "Text1")->setText("乙'方");
    child(form, "Text2")->setText("新客户");
    click(form, 1);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(form.banner().text(), "保   存   完   成  ！");
    EXPECT_EQ(count("T_KH", "KHMC='乙方'"), 1);

    // Nothing selected does nothing; failures change nothing.
    form.findChild<QTableView*>("ListViewL")->clearSelection();
    child(form, "Text1")->setText("乙方公司");
    click(form, 2);
    click(form, 3);
    EXPECT_EQ(boxes.shown.size(), 1u);
    form.selectRow(1);
    failOn("DELETE", "T_KH");
    boxes.answers = {false};
    click(form, 3);
    EXPECT_EQ(boxes.lastText(), "此操作将一并删除有关该客户的所有需求记录(不删除销售记录)，确定删除吗 ?");
    click(form, 3);
    EXPECT_EQ(boxes.lastText(), "   删  除  失  败  ！");
    failOn("UPDATE", "T_KH");
    child(form, "Text1")->setText("丙方公司");
    click(form, 2);
    EXPECT_EQ(boxes.shown.back().text, "   保  存  失  败  ！");
    EXPECT_EQ(boxes.shown.back().title, "提示");
    EXPECT_EQ(rowsText("select KHMC from T_KH order by ID"), "甲方公司,乙方");
    EXPECT_EQ(count("T_KH_XQ"), 2); // and the new customer's open placeholder

    // A search that cannot run keeps the list and the query it had.
    const QString before = form.formQuery();
    failOn("INSERT", "T_Key");
    search(form, "甲");
    EXPECT_EQ(boxes.lastText(), "   搜  索  失  败  ！");
    EXPECT_EQ(form.formQuery(), before);
    EXPECT_EQ(form.model().rowCount(), 2);
}

TEST_F(CustomerFormTest, AddingReturnsToTheDefaultListAndChangesKeepTheRowNumber) {
    customer("城东建材");
    customer("城西建材");
    customer("南门五金");
    frmAddKH form(session);
    search(form, "建材");
    ASSERT_EQ(form.model().rowCount(), 2);
    // Renamed out of the search, the second row is gone: the last row is selected instead.
    form.selectRow(2);
    child(form, "Text1")->setText("城西木材");
    click(form, 2);
    ASSERT_EQ(form.model().rowCount(), 1);
    EXPECT_EQ(form.selectedRow(), 1);
    EXPECT_EQ(child(form, "Text1")->text(), "城东建材");
    EXPECT_EQ(form.banner().text(), "保   存   完   成  ！");

    child(form, "Text1")->setText("北门五金");
    click(form, 1);
    EXPECT_EQ(form.model().rowCount(), 4);
    EXPECT_TRUE(form.formQuery().contains("top 200"));
}

TEST_F(DemandFormTest, ANewDemandBelongsToTheSelectedRowsCustomer) {
    const qlonglong a = customer("甲方公司");
    const qlonglong b = customer("乙方公司");
    demand(a, QDate(2024, 5, 1), "螺丝");
    demand(b, QDate(2024, 5, 1), "钢管", true);
    frmAddKHXQ form(session);
    QAbstractItemModelTester tester(&form.model(), kFatal);
    ASSERT_EQ(form.model().rowCount(), 2);
    EXPECT_EQ(form.findChild<QDateEdit*>("DTPicker1")->date(), QDate::currentDate());

    form.selectRow(2);
    EXPECT_EQ(child(form, "Text1")->text(), "钢管");
    form.findChild<QDateEdit*>("DTPicker1")->setDate(QDate(2024, 6, 9));
    child(form, "Text1")->setText(" 法兰'盘 ");
    click(form, 1);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(rowsText("select KHID,BJ from T_KH_XQ where KHXQ='法兰盘' and RQ=#2024-6-9#"),
              QString::number(b) + "|False");
    EXPECT_EQ(form.model().index(1, partners::GroupedDemandListModel::KHBS).data().toString(), "乙方公司()");
    EXPECT_EQ(form.model().index(2, partners::GroupedDemandListModel::KHBS).data().toString(), " ... (2)");

    // An empty list cannot take a new demand; the customer form resets the list.
    search(form, "没有的");
    ASSERT_EQ(form.model().rowCount(), 0);
    child(form, "Text1")->setText("法兰盘");
    click(form, 1);
    EXPECT_EQ(boxes.lastText(), "   保  存  失  败  ！");
    EXPECT_EQ(boxes.shown.back().title, "提示");
    EXPECT_EQ(count("T_KH_XQ"), 3);

    // The customer form opens modally; closing it brings back the default list.
    closeModalSoon();
    click(form, 4);
    EXPECT_EQ(form.formQuery(), DemandBook::kDefaultQuery);
    EXPECT_EQ(form.model().rowCount(), 3);
}

TEST_F(SupplierFormTest, AddingKeepsTheSearchFilter) {
    supplier("华北钢材", "", "钢管");
    supplier("东方物资", "电话", "五金");
    frmAddGYS form(session);
    QAbstractItemModelTester tester(&form.model(), kFatal);
    EXPECT_EQ(form.model().index(1, partners::SupplierListModel::GYS).data().toString(), "华北钢材()");
    EXPECT_EQ(child(form, "Text3")->text(), "五金");

    // Enter in the keyword box searches and neither saves nor closes.
    form.show();
    form.findChild<QComboBox*>("cmbSS")->setEditText("钢");
    QTest::keyClick(form.findChild<QComboBox*>("cmbSS")->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(form.model().rowCount(), 1);
    child(form, "Text1")->setText("南方建材");
    child(form, "Text2")->setText("");
    child(form, "Text3")->setText("水泥");
    click(form, 1);
    EXPECT_EQ(count("T_GYS"), 3);
    EXPECT_EQ(form.model().rowCount(), 1); // saved, but outside the search
    EXPECT_EQ(form.banner().text(), "保   存   完   成  ！");

    form.selectRow(1);
    click(form, 3);
    EXPECT_EQ(boxes.lastText(), "   确 定 删 除 本 条 记 录 吗 ?");
    EXPECT_EQ(count("T_GYS"), 2);
    EXPECT_EQ(form.banner().text(), "删   除   完   成  ！");
}
