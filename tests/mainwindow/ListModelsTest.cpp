// The list models on hand-made query results: what each cell shows, and that each model
// keeps Qt's model rules through a load and a reload.
#include "core/Session.h"
#include "mainwindow/DemandListModel.h"
#include "mainwindow/GoodsListModel.h"
#include "mainwindow/PurchaseListModel.h"
#include "mainwindow/SaleListModel.h"
#include "partners/SupplierListModel.h"

#include <QAbstractItemModelTester>
#include <QDate>
#include <gtest/gtest.h>
#include <optional>

namespace {

// Hand-made rows, read the way the data file's rows are read.
struct Rows : QueryResult {
    Rows(const QStringList& c, std::vector<std::vector<QVariant>> r) {
        columns = c;
        rows = std::move(r);
    }
    operator RowSource&() & { return source.emplace(*this); }
    operator RowSource&() && { return source.emplace(*this); }
    std::optional<ResultRows> source;
};
Rows result(const QStringList& columns, std::vector<std::vector<QVariant>> rows) {
    return Rows(columns, std::move(rows));
}

QString cell(const QAbstractItemModel& m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

const QStringList kGoodsColumns = {"ID", "JC", "MC", "XH", "KW", "KCmin", "ZKC", "ZCB", "LSJ", "PFJ", "DBJ"};
const QStringList kSaleColumns = {"ID",     "TZID", "RQ", "SL",   "ZJE",  "GZJE",
                                  "KHXQID", "JXID", "BZ", "SPMC", "KHZL", "KHXQ"};
const QStringList kPurchaseColumns = {"ID",     "TZID", "RQ", "SL",   "ZJE", "GZJE",
                                      "KHXQID", "JXID", "BZ", "SPMC", "GYS", "KHZL"};

// Collects what QAbstractItemModelTester complains about.
QStringList g_complaints;
void collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) g_complaints << text;
}

} // namespace

TEST(ListModels, GoodsShowStockOverMinimumAndHideMoneyBySwitch) {
    GoodsListModel m;
    auto rows =
        result(kGoodsColumns,
               {{qlonglong(7), "LS", "螺丝", "M6", "A-1", 5.0, 15.0, 37.5, 3.5, 3.0, 2.8},
                {qlonglong(9), QVariant(), "扳手", QVariant(), QVariant(), 0.0, 0.5, 0.125, 12.0, 0.0, 0.0}});
    Options o;
    o.Show_ZCB = true;
    o.Show_LSJ = true;
    m.load(rows, o);
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(cell(m, 0, GoodsListModel::RowNumber), "1");
    EXPECT_EQ(cell(m, 1, GoodsListModel::RowNumber), "2");
    EXPECT_EQ(m.data(m.index(1, 0), listroles::KeyRole).toString(), "ID9");
    EXPECT_EQ(cell(m, 0, GoodsListModel::Goods), "螺丝/LS/M6");
    EXPECT_EQ(cell(m, 1, GoodsListModel::Goods), "扳手//"); // Null texts read as ""
    EXPECT_EQ(cell(m, 0, GoodsListModel::Stock), "15/5");
    EXPECT_EQ(cell(m, 1, GoodsListModel::Stock), "0.5/0");
    EXPECT_EQ(cell(m, 0, GoodsListModel::TotalCost), "37.5");
    EXPECT_EQ(cell(m, 0, GoodsListModel::Prices), "3.5/.../...");
    EXPECT_DOUBLE_EQ(m.total(), 37.625);
    EXPECT_EQ(m.copyOf(0)->label, "螺丝/LS/M6");
    EXPECT_FALSE(m.copyOf(2).has_value());

    o = Options{};
    m.load(rows, o);
    EXPECT_EQ(cell(m, 0, GoodsListModel::TotalCost), "...");
    EXPECT_EQ(cell(m, 0, GoodsListModel::Prices), ".../.../...");
    EXPECT_DOUBLE_EQ(m.total(), 37.625); // the total is the cost, shown or not
}

TEST(ListModels, GoodsBelowTheirMinimumStockAreMarked) {
    GoodsListModel m;
    // Below the minimum; at it; no minimum, with none or negative stock; above it; a hundredth below.
    auto rows = result(kGoodsColumns, {{qlonglong(1), "", "低", "", "", 5.0, 4.0, 0.0, 0.0, 0.0, 0.0},
                                       {qlonglong(2), "", "等", "", "", 5.0, 5.0, 0.0, 0.0, 0.0, 0.0},
                                       {qlonglong(3), "", "无", "", "", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
                                       {qlonglong(4), "", "负", "", "", 0.0, -1.0, 0.0, 0.0, 0.0, 0.0},
                                       {qlonglong(5), "", "高", "", "", 2.0, 9.0, 0.0, 0.0, 0.0, 0.0},
                                       {qlonglong(6), "", "差", "", "", 0.3, 0.29, 0.0, 0.0, 0.0, 0.0}});
    m.load(rows, Options{});
    for (int row = 0; row < m.rowCount(); ++row) {
        const bool low = row == 0 || row == 5;
        SCOPED_TRACE(row);
        EXPECT_EQ(m.data(m.index(row, GoodsListModel::Goods), Qt::BackgroundRole).isValid(), low);
        EXPECT_EQ(m.data(m.index(row, GoodsListModel::Goods), Qt::ForegroundRole).isValid(), low);
        EXPECT_EQ(m.data(m.index(row, GoodsListModel::Stock), Qt::DecorationRole).isValid(), low);
        EXPECT_FALSE(m.data(m.index(row, GoodsListModel::Goods), Qt::DecorationRole).isValid());
    }
    EXPECT_EQ(cell(m, 0, GoodsListModel::Stock), "4/5"); // the text stays as printed and searched
}

// The sales, purchases and demands lists show their cells on the main window's data file
// (MainWindowTest).
TEST(ListModels, Suppliers) {
    partners::SupplierListModel suppliers(7000);
    suppliers.load(result({"ID", "GYSMC", "GYSZL", "GHPZ"}, {{qlonglong(1), "五金店", "城东", "螺丝"}}));
    EXPECT_EQ(cell(suppliers, 0, partners::SupplierListModel::GYS), "五金店(城东)");
    EXPECT_EQ(suppliers.copyOf(0)->label, "五金店(城东)");
    EXPECT_EQ(cell(suppliers, 0, partners::SupplierListModel::GHPZ), "螺丝");
}

TEST(ListModels, KeepQtModelRulesThroughLoads) {
    g_complaints.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    {
        GoodsListModel goods;
        SaleListModel sales;
        PurchaseListModel purchases;
        DemandListModel demands;
        partners::SupplierListModel suppliers(7000);
        using Mode = QAbstractItemModelTester::FailureReportingMode;
        QAbstractItemModelTester t1(&goods, Mode::Warning), t2(&sales, Mode::Warning),
            t3(&purchases, Mode::Warning), t4(&demands, Mode::Warning), t5(&suppliers, Mode::Warning);
        std::vector<std::vector<QVariant>> many;
        for (int i = 1; i <= 50; ++i)
            many.push_back(
                {qlonglong(i), "J", QString("M%1").arg(i), "X", "K", 1.0, 2.0, 3.0, 4.0, 5.0, 6.0});
        goods.load(result(kGoodsColumns, many), Options{});
        goods.load(result(kGoodsColumns, {}), Options{});
        goods.load(result(kGoodsColumns, many), Options{});
        goods.clear();
        sales.load(result(kSaleColumns, {{qlonglong(1), qlonglong(1), QDate(2009, 1, 1), 1.0, 2.0, 0.0, 0, 0,
                                          "", "", "", ""}}));
        purchases.load(result(kPurchaseColumns, {{qlonglong(1), qlonglong(-1), QDate(2009, 1, 1), 1.0, 2.0,
                                                  0.0, 0, 0, "", "", "", ""}}),
                       Options{});
        demands.load(result({"ID", "RQ", "KHXQ", "BJ", "KHID", "KH"},
                            {{qlonglong(1), QDate(2009, 1, 1), "x", false, qlonglong(1), "k"}}));
        suppliers.load(result({"ID", "GYSMC", "GYSZL", "GHPZ"}, {{qlonglong(1), "a", "b", "c"}}));
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_complaints.isEmpty()) << g_complaints.join('\n').toStdString();
}

// The data file failing halfway through a load leaves an empty list, never a part of one.
TEST(ListModels, AFailingReadLeavesNoHalfList) {
    struct Failing : ResultRows {
        using ResultRows::ResultRows;
        bool next() override {
            if (++rows == 3) throw DbError(QStringLiteral("磁盘读取失败"));
            return ResultRows::next();
        }
        int rows = 0;
    };
    const QueryResult good = result(
        kSaleColumns, {{qlonglong(1), qlonglong(1), QDate(2009, 1, 1), 1.0, 2.0, 0.0, 0, 0, "", "", "", ""},
                       {qlonglong(2), qlonglong(1), QDate(2009, 1, 2), 1.0, 3.0, 0.0, 0, 0, "", "", "", ""},
                       {qlonglong(3), qlonglong(1), QDate(2009, 1, 3), 1.0, 4.0, 0.0, 0, 0, "", "", "", ""}});
    SaleListModel sales;
    sales.load(result(kSaleColumns, {{qlonglong(9), qlonglong(1), QDate(2009, 1, 1), 1.0, 2.0, 0.0, 0, 0, "",
                                      "", "", ""}}));
    Failing failing(good);
    EXPECT_THROW(sales.load(failing), DbError);
    EXPECT_EQ(sales.rowCount(), 0);
    EXPECT_EQ(sales.total(), 0);
}
