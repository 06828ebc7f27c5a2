// A list model whose data file fails halfway through a load is left empty, never holding a part
// of the rows. What each cell shows, the marks of goods below their minimum and Qt's model rules
// are checked on the main window (MainWindowTest, RolesTest, StreamedSearchTest).
#include "core/Session.h"
#include "mainwindow/SaleListModel.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

std::vector<QVariant> saleRow(qlonglong id, double zje) {
    return {id, qlonglong(1), QDate(2009, 1, 1), 1.0, zje, 0.0, 0, 0, "", "", "", ""};
}

// Hand-made rows, read the way the data file's rows are read; the third read fails.
struct FailingRows : ResultRows {
    explicit FailingRows(const QueryResult& r) : ResultRows(r) {}
    bool next() override {
        if (++rows == 3) throw DbError(QStringLiteral("磁盘读取失败"));
        return ResultRows::next();
    }
    int rows = 0;
};

} // namespace

TEST(ListModels, AFailingReadLeavesNoHalfList) {
    QueryResult result;
    result.columns = {"ID",     "TZID", "RQ", "SL",   "ZJE",  "GZJE",
                      "KHXQID", "JXID", "BZ", "SPMC", "KHZL", "KHXQ"};
    result.rows = {saleRow(9, 2)};
    SaleListModel sales;
    ResultRows first(result);
    sales.load(first);
    ASSERT_EQ(sales.rowCount(), 1);
    result.rows = {saleRow(1, 2), saleRow(2, 3), saleRow(3, 4)};
    FailingRows failing(result);
    EXPECT_THROW(sales.load(failing), DbError);
    EXPECT_EQ(sales.rowCount(), 0);
    EXPECT_EQ(sales.total(), 0);
}
