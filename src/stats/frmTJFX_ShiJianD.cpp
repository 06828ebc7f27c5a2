#include "stats/frmTJFX_ShiJianD.h"

#include "core/Session.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

frmTJFX_ShiJianD::frmTJFX_ShiJianD(Session& session, QWidget* parent)
    : StatsWindow(session, QStringLiteral("frmTJFX_ShiJianD"), QStringLiteral("营销状态统计分析"),
                  MonthlyStatus::columns(), Qt::Vertical, parent),
      shown_(session.options) {
    fitToScreen(listWidth() + twips(600), twips(13200));
}

std::function<bool(Session&, Progress&)> frmTJFX_ShiJianD::computation() {
    auto result = std::make_shared<Result>();
    result_ = result;
    return [result, shown = shown_](Session& session, Progress& progress) {
        auto months = MonthlyStatus::compute(session, &progress);
        if (!months) return false;
        result->months = std::move(*months);
        qlonglong number = 0;
        for (QStringList& texts : MonthlyStatus::texts(result->months, shown)) {
            texts.removeFirst(); // the list numbers its rows itself
            result->rows.push_back({++number, std::move(texts)});
        }
        return true;
    };
}

namespace {

// Bars for each month's purchases and sales, a line for the profit accumulated by its end.
// Hidden purchase amounts have no bars.
QChartView* monthlyChart(const std::vector<MonthRow>& months, bool showPurchases) {
    auto* chart = new QChart;
    chart->setTitle(showPurchases ? QStringLiteral("每月进货、销售与累计盈利")
                                  : QStringLiteral("每月销售与累计盈利"));
    auto* bars = new QBarSeries;
    if (showPurchases) {
        auto* bought = new QBarSet(QStringLiteral("当月进货(元)"));
        bought->setColor(QColor(0x3a, 0x7b, 0xc8));
        bought->setBorderColor(bought->color());
        bars->append(bought);
    }
    auto* sold = new QBarSet(QStringLiteral("当月销售(元)"));
    sold->setColor(QColor(0xf0, 0x9a, 0x2c));
    sold->setBorderColor(sold->color());
    bars->append(sold);
    auto* profit = new QLineSeries;
    profit->setName(QStringLiteral("截至当月底盈利(元)"));
    profit->setPen(QPen(QColor(0xc0, 0x30, 0x30), 2));
    double low = 0, high = 0, profitLow = 0, profitHigh = 0;
    for (size_t i = 0; i < months.size(); ++i) {
        const double bought = showPurchases ? months[i].JH : 0.0;
        if (showPurchases) *bars->barSets().front() << bought;
        *sold << months[i].XS;
        profit->append(double(i), months[i].ZYL);
        high = std::max({high, bought, months[i].XS});
        low = std::min({low, bought, months[i].XS});
        profitHigh = std::max(profitHigh, months[i].ZYL);
        profitLow = std::min(profitLow, months[i].ZYL);
    }
    chart->addSeries(bars);
    chart->addSeries(profit);

    // Ten years of months are too many labels: beyond two years only the years are named.
    auto* axisX = new QCategoryAxis;
    axisX->setTitleText(QStringLiteral("月份"));
    axisX->setMin(-0.5);
    axisX->setMax(double(months.size()) - 0.5);
    axisX->setStartValue(-0.5);
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    const bool byYear = months.size() > 24;
    for (size_t i = 0; i < months.size(); ++i) {
        const QString label = byYear ? months[i].RQ1.left(4) + QStringLiteral("年") : months[i].RQ1;
        const bool last =
            i + 1 == months.size() || !byYear || months[i + 1].RQ1.left(4) != months[i].RQ1.left(4);
        if (last) axisX->append(label, double(i) + 0.5);
    }
    if (!byYear) axisX->setLabelsAngle(-90);
    chart->addAxis(axisX, Qt::AlignBottom);
    bars->attachAxis(axisX);
    profit->attachAxis(axisX);

    auto* money = new QValueAxis;
    money->setTitleText(showPurchases ? QStringLiteral("进货、销售(元)") : QStringLiteral("销售(元)"));
    money->setLabelFormat(QStringLiteral("%.0f"));
    money->setRange(low, high > low ? high : low + 1);
    money->applyNiceNumbers();
    chart->addAxis(money, Qt::AlignLeft);
    bars->attachAxis(money);
    auto* accumulated = new QValueAxis;
    accumulated->setTitleText(QStringLiteral("累计盈利(元)"));
    accumulated->setLabelFormat(QStringLiteral("%.0f"));
    accumulated->setRange(profitLow, profitHigh > profitLow ? profitHigh : profitLow + 1);
    accumulated->applyNiceNumbers();
    chart->addAxis(accumulated, Qt::AlignRight);
    profit->attachAxis(accumulated);

    chart->legend()->setAlignment(Qt::AlignTop);
    auto* view = new QChartView(chart);
    view->setObjectName(QStringLiteral("ChartJX"));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

} // namespace

void frmTJFX_ShiJianD::showResult() {
    setRows(std::move(result_->rows));
    if (!result_->months.empty()) setChart(monthlyChart(result_->months, shown_.Show_JHZJE));
}
