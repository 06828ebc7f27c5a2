#include "PartnerFixture.h"
#include "core/Vb.h"
#include "partners/CustomerBook.h"
#include "partners/DemandBook.h"
#include "partners/GroupedDemandListModel.h"
#include "partners/SupplierBook.h"

using CustomerBookTest = PartnerFixture;
using DemandBookTest = PartnerFixture;
using SupplierBookTest = PartnerFixture;

// A failure in the middle of any of these changes nothing: FileFaultsTest.
TEST_F(CustomerBookTest, NewCustomerComesWithItsOpenPlaceholder) {
    const qlonglong id = CustomerBook(session).add(" 张'三 ", "老'客户", QDate(2024, 5, 3));
    EXPECT_EQ(rowsText(QString("select KHMC, KHZL from T_KH where ID=%1").arg(id)), "张三|老客户");
    EXPECT_EQ(rowsText(QString("select KHXQ, RQ, BJ from T_KH_XQ where KHID=%1").arg(id)),
              "待修改|2024-5-3|False");

    EXPECT_TRUE(NameLongEnough("甲方") && NameLongEnough("abcd"));
    EXPECT_FALSE(NameLongEnough("甲a") || NameLongEnough("abc"));
}

TEST_F(CustomerBookTest, RemovingACustomerTakesItsDemandsAndLeavesItsSales) {
    const qlonglong a = customer("甲方公司", "城东");
    const qlonglong b = customer("乙方公司");
    const qlonglong need = demand(a, QDate(2024, 5, 1), "螺丝");
    demand(a, QDate(2024, 5, 2), "螺母");
    demand(b, QDate(2024, 5, 2), "垫片");
    addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
             {7, QDate(2024, 5, 4), 1, 10, 0, a, need, "x"});
    CustomerBook(session).remove(a);
    EXPECT_EQ(count("T_KH"), 1);
    EXPECT_EQ(count("T_KH_XQ"), 1);
    EXPECT_EQ(count("T_IO"), 1);
    const QueryResult sales = session.query(
        "select ID,(select KHMC & '/' & KHZL from T_KH where ID=T_IO.JXID) as KHZL from T_IO where TZID>0");
    ASSERT_EQ(sales.rowCount(), 1);
    EXPECT_EQ(vb::Text(sales.value(0, "KHZL")), "");
}

TEST_F(CustomerBookTest, SearchesEmptyCommasAndTwoKeywords) {
    for (int i = 0; i < 203; ++i)
        customer(QString("客户%1").arg(i, 3, 10, QChar('0')), i == 5 ? "城东 五金" : "");
    customer("城东建材", "五金");
    CustomerBook book(session);
    EXPECT_EQ(book.load({}).size(), 200u);
    EXPECT_EQ(book.load(CustomerBook::searchQuery("")).size(), 204u);
    EXPECT_TRUE(book.load(CustomerBook::searchQuery(",,,")).empty());
    // Both words must occur somewhere in name and details together.
    const auto found = book.load(CustomerBook::searchQuery("城东,五金"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].KHMC, "城东建材");
    EXPECT_EQ(found[1].KHMC, "客户005");
    EXPECT_EQ(book.load(CustomerBook::searchQuery("建材,城西")).size(), 0u);
}

TEST_F(DemandBookTest, GroupsByCustomerNewestFirst) {
    const qlonglong a = customer("甲方公司", "城东");
    const qlonglong b = customer("乙方公司");
    demand(a, QDate(2024, 5, 1), "一号");
    demand(b, QDate(2024, 4, 1), "乙的", true);
    demand(a, QDate(2024, 5, 3), "三号");
    demand(a, QDate(2024, 5, 2), "二号");
    DemandBook book(session);
    const auto rows = book.load({});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].KHXQ + rows[1].KHXQ + rows[2].KHXQ + rows[3].KH, "三号二号一号乙方公司()");
    EXPECT_EQ(rows[0].RQ, "2024-5-3");
    partners::GroupedDemandListModel list;
    list.setRows(rows);
    QStringList customers;
    for (int row = 0; row < list.rowCount(); ++row)
        customers << list.index(row, partners::GroupedDemandListModel::KHBS).data().toString();
    EXPECT_EQ(customers, QStringList({"甲方公司(城东)", " ... (2)", " ... (3)", "乙方公司()"}));
    EXPECT_EQ(DemandBook::stateText(rows[0]), "未了|三号");
    EXPECT_EQ(DemandBook::stateText(rows[3]), "已了|乙的");

    // The done flag toggled twice is back where it was.
    const qlonglong id = rows[3].ID;
    book.toggleDone(id);
    EXPECT_FALSE(book.load({})[3].BJ);
    book.toggleDone(id);
    EXPECT_TRUE(book.load({})[3].BJ);

    // Dates are searched as the list shows them.
    EXPECT_EQ(book.load(DemandBook::searchQuery("2024-5-2")).size(), 1u);
    EXPECT_EQ(book.load(DemandBook::searchQuery("甲方,号")).size(), 3u);

    // A new text keeps the date, the customer and the flag.
    book.updateText(id, " 新'的 ");
    EXPECT_EQ(rowsText(QString("select KHXQ,RQ,KHID,BJ from T_KH_XQ where ID=%1").arg(id)),
              QString("新的|2024-4-1|%1|True").arg(b));
    book.remove(id);
    EXPECT_EQ(count("T_KH_XQ"), 3);
}

TEST_F(SupplierBookTest, LabelsAndApostrophes) {
    SupplierBook book(session);
    book.add("华'北供应", "", "钢'材");
    session.addRow("T_GYS", {{"GYSMC", "东方物资"}}); // details left Null
    const auto rows = book.load({});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].label, "东方物资()");
    EXPECT_EQ(rows[1].label, "华北供应()");
    EXPECT_EQ(rows[1].GHPZ, "钢材");
    book.update(rows[1].ID, "华北'供应", "电话'123", "钢材");
    EXPECT_EQ(book.load({})[1].label, "华北供应(电话123)");
}
