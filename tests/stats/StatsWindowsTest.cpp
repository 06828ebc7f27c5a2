// The two statistics windows on the hand-checked ledger: the computation on first activation,
// the list, status bar, chart and log line; closing early; a failing data file.
#include "StatsFixture.h"

#include "stats/MonthlyStatus.h"
#include "stats/frmTJFX_ShangPin.h"
#include "stats/frmTJFX_ShiJianD.h"

#include <QAbstractItemModelTester>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace {

class StatsWindowsTest : public StatsFixture {
protected:
    // Shows the window as exec() does and waits until its computation is over.
    void showAndWait(StatsWindow& w) {
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return log().size() + boxes.shown.size() > 0; }, 10000));
        QTest::qWait(20); // anything after the log line
    }
    static std::vector<QStringList> listed(const StatsWindow& w) {
        std::vector<QStringList> out;
        const QAbstractItemModel& m = w.listModel();
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m.columnCount(); ++c)
                cells << m.index(r, c).data().toString();
            out.push_back(cells);
        }
        return out;
    }
};

TEST_F(StatsWindowsTest, MonthlyWindow) {
    handCheckedLedger();
    frmTJFX_ShiJianD w(session);
    EXPECT_EQ(w.listModel().rowCount(), 0); // nothing before the window is first active

    showAndWait(w);
    EXPECT_EQ(listed(w), handCheckedMonths());
    EXPECT_EQ(log(), QStringList{QStringLiteral("营销状态统计分析")});
    EXPECT_FALSE(w.findChild<QWidget*>(QStringLiteral("FrameJD"))->isVisible());

    // The chart goes with the list until the operator hides it.
    auto* chart = w.findChild<QChartView*>(QStringLiteral("ChartJX"));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    w.findChild<QCheckBox*>(QStringLiteral("chkChart"))->setChecked(false);
    EXPECT_FALSE(chart->isVisible());

    // Being active again computes nothing more.
    w.hide();
    w.show();
    w.activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(log().size(), 1);
}

TEST_F(StatsWindowsTest, GoodsWindow) {
    handCheckedLedger();
    frmTJFX_ShangPin w(session);
    auto* csv = w.findChild<QPushButton*>(QStringLiteral("cmdS(2)"));
    EXPECT_FALSE(csv->isEnabled()); // nothing to export yet
    showAndWait(w);
    EXPECT_EQ(listed(w), handCheckedGoods());
    EXPECT_EQ(w.statusPanelText(), QStringLiteral("......毛 利 合 计 ：  87.6 (元)"));
    EXPECT_EQ(log(), QStringList{QStringLiteral("商品盈利能力统计分析")});

    // The list leaves as the window shows it, the total last.
    const QString csvPath = dir.filePath(QStringLiteral("毛利.csv"));
    files.answers = {csvPath};
    click(w, 2);
    QByteArray expected =
        "\xEF\xBB\xBF" + QStringLiteral("商品盈利能力统计分析\r\n序号,商品标识,注册日期,最新库存量,"
                                        "总销售数量,毛利总额(元)\r\n")
                             .toUtf8();
    for (const QStringList& row : handCheckedGoods())
        expected += row.join(',').toUtf8() + "\r\n";
    EXPECT_EQ(fileBytes(csvPath),
              expected + QStringLiteral(",......毛 利 合 计 ：  87.6 (元),,,,\r\n").toUtf8());
    EXPECT_EQ(files.asked.back().caption, QStringLiteral("导出CSV"));
    expectBox(boxes.shown.back(), ScriptedMessageBoxes::Kind::Information,
              QStringLiteral("已导出到 ") + QDir::toNativeSeparators(csvPath), QStringLiteral("Vostrel"));
    printers.installed = {{QStringLiteral("办公室"), QStringLiteral("A4")}};
    click(w, 4);
    ASSERT_EQ(printers.printed.size(), 1u);
    const QString printed =
        toolOutput(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), printers.printed[0].pdfPath, QStringLiteral("-")});
    EXPECT_TRUE(
        printed.simplified().contains(QStringLiteral("4 铁锤// 0 0 12.5 ......毛 利 合 计 ： 87.6 (元)")))
        << printed.toStdString();
}

// Closed while computing: the computation stops. A data file whose movements cannot be read:
// the data file's message and an empty list. Nothing is logged either way.
TEST_F(StatsWindowsTest, ClosingEarlyOrAFailingQueryLogsNothing) {
    handCheckedLedger();
    {
        frmTJFX_ShiJianD w(session);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return w.findChild<QWidget*>(QStringLiteral("FrameJD"))->isVisible(); }));
        click(w, 0);
        EXPECT_FALSE(w.isVisible());
        QTest::qWait(100);
        EXPECT_EQ(w.listModel().rowCount(), 0);
    }

    session.execNative(QStringLiteral("ALTER TABLE T_IO RENAME COLUMN ZJE TO ZJX"));
    QString why;
    try {
        Session fresh(boxes); // the window reads through a connection of its own
        fresh.open(dataPath());
        MonthlyStatus::compute(fresh);
    } catch (const DbError& e) {
        why = e.text;
    }
    ASSERT_FALSE(why.isEmpty());
    frmTJFX_ShiJianD w(session);
    showAndWait(w);
    ASSERT_EQ(boxes.shown.size(), 1u);
    expectBox(boxes.shown[0], ScriptedMessageBoxes::Kind::Warning, why, QStringLiteral("Vostrel"));
    EXPECT_EQ(w.listModel().rowCount(), 0);
    EXPECT_TRUE(log().isEmpty());
}

TEST(StatsListModelTest, KeepsQtModelRulesThroughLoads) {
    StatsListModel m(MonthlyStatus::columns(), nullptr);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<StatsListRow> rows;
    for (int i = 1; i <= 30; ++i)
        rows.push_back({i, {QStringLiteral("2009%1").arg(i), "1", "2", "3", "4", "5"}});
    m.setRows(rows);
    m.clear();
    m.setRows(rows);
    EXPECT_EQ(m.index(29, 6).data().toString(), QStringLiteral("5"));
}

} // namespace
