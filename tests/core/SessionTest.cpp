#include "core/DataFile.h"
#include "core/Transaction.h"
#include "core/Vb.h"
#include "support/TestFixture.h"

#include <QFileInfo>

using SessionTest = LedgerFixture;

TEST_F(SessionTest, NewDataFileHasTheOptionsRowAndIsTheOwnersOnly) {
    EXPECT_EQ(rowsText("select PassL, PassH, Ver_ID, MingCheng from T_Option", "NULL"), "1|8|2002|");
    EXPECT_EQ(QFileInfo(dataPath()).permissions() & 0x0077, 0); // nobody else may read it
    EXPECT_THROW(CreateDataFile(dataPath()), DbError);          // never over an existing file
}

TEST_F(SessionTest, AddRowStoresTypedValuesAndNeverReusesIds) {
    EXPECT_EQ(session.addRow("T_KH_XQ", {{"KHID", 5}, {"RQ", "2009-1-9"}, {"KHXQ", "待修改"}, {"BJ", false}}),
              1);
    session.addRow("T_KH_XQ", {{"KHID", 5}, {"RQ", QDate(2010, 12, 31)}, {"KHXQ", "x"}, {"BJ", true}});
    EXPECT_EQ(rowsText("select ID, RQ, BJ from T_KH_XQ order by ID"), "1|2009-1-9|False,2|2010-12-31|True");
    session.execSql("delete from T_KH_XQ where ID=2");
    EXPECT_EQ(session.addRow("T_KH_XQ", {{"KHID", 1}}), 3);
    EXPECT_THROW(session.addRow("T_KH_XQ", {{"NoSuch", 1}}), DbError);
    EXPECT_THROW(session.addRow("T_KH_XQ", {{"RQ", "not a date"}}), DbError);
}

TEST_F(SessionTest, TransactionRollsBackUnlessCommitted) {
    {
        Transaction t(session);
        session.addRow("T_KH", {{"KHMC", "张三"}});
    }
    EXPECT_EQ(scalar("select count(*) from T_KH").toLongLong(), 0);
    {
        Transaction outer(session);
        session.addRow("T_KH", {{"KHMC", "张三"}});
        {
            Transaction inner(session);
            session.addRow("T_KH", {{"KHMC", "李四"}});
        }
        outer.commit();
    }
    EXPECT_EQ(scalar("select count(*) from T_KH").toLongLong(), 1);
}

// Lists read rows straight from the data file; every value must read as it does through a
// query's QVariants, whatever the column holds. Repeated texts are read once and shared, texts
// that seldom repeat row by row; either way each row reads its own text.
TEST_F(SessionTest, RowsReadOneAtATimeGiveTheQueryValues) {
    session.execNative(
        "INSERT INTO T_KH_XQ (KHID, RQ, KHXQ, BJ) VALUES (3, '2009-01-09', '要五箱', -1), (NULL, '2010-12-31 "
        "08:05:00', NULL, 0), ('12kg', 'not a date', 42, NULL), (2.5, NULL, '', 1)");
    session.execNative(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000) INSERT "
        "INTO T_KH_XQ (KHID, RQ, KHXQ) SELECT i, date('2009-01-01', '+' || i || ' days'), "
        "CASE WHEN i % 5 = 0 THEN '' ELSE '客户' || (i % 7) END FROM n");
    const QString sql =
        "select ID, KHID, RQ, KHXQ, BJ, KHID*2 as Twice, RQ & '' as Joined from T_KH_XQ order by ID";
    const QueryResult all = session.query(sql);
    ASSERT_EQ(all.rowCount(), 6004);
    int row = 0;
    session.read(sql, [&](RowSource& in) {
        EXPECT_EQ(in.columnIndex("khxq"), 3);
        EXPECT_EQ(in.columnIndex("Nothing"), -1);
        while (in.next()) {
            for (int c = -1; c < all.columns.size(); ++c) {
                const QVariant v = c < 0 ? QVariant() : all.value(row, c);
                ASSERT_EQ(in.text(c), vb::Text(v)) << row << "," << c;
                ASSERT_EQ(in.number(c), vb::Number(v)) << row << "," << c;
                ASSERT_EQ(in.flag(c), v.toBool()) << row << "," << c;
                ASSERT_EQ(in.dateText(c), vb::Text(v)) << row << "," << c;
            }
            ++row;
        }
    });
    EXPECT_EQ(row, 6004);
    EXPECT_THROW(session.read("select 1/(ID-2) from T_KH_XQ",
                              [](RowSource& in) {
                                  while (in.next()) {
                                  }
                              }),
                 DbError);
}
