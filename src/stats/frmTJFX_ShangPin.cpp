#include "stats/frmTJFX_ShangPin.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFont>
#include <QHorizontalStackedBarSeries>
#include <QValueAxis>
#include <algorithm>

frmTJFX_ShangPin::frmTJFX_ShangPin(Session& session, QWidget* parent)
    : StatsWindow(session, QStringLiteral("frmTJFX_ShangPin"), QStringLiteral("商品盈利能力统计分析"),
                  GoodsProfit::columns(), Qt::Horizontal, parent) {
    fitToScreen(listWidth() + twips(7800), twips(13200));
}

std::function<bool(Session&, Progress&)> frmTJFX_ShangPin::computation() {
    auto result = std::make_shared<Result>();
    result_ = result;
    return [result](Session& session, Progress& progress) {
        auto list = GoodsProfit::compute(session, &progress);
        if (!list) return false;
        result->list = std::move(*list);
        qlonglong number = 0;
        for (QStringList& texts : GoodsProfit::texts(result->list.rows)) {
            texts.removeFirst(); // the list numbers its rows itself
            result->rows.push_back({++number, std::move(texts)});
        }
        return true;
    };
}

namespace {

// The 20 items with the highest gross profit and the 10 with the lowest, highest at the top.
QChartView* profitChart(const std::vector<GoodsProfitRow>& rows) {
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rows[a].YL > rows[b].YL; });
    const size_t best = std::min<size_t>(20, order.size());
    const size_t worst = std::min<size_t>(10, order.size() - best);

    auto* high = new QBarSet(QStringLiteral("毛利最高的%1种商品").arg(best));
    high->setColor(QColor(0x3a, 0x7b, 0xc8));
    high->setBorderColor(high->color());
    auto* low = new QBarSet(QStringLiteral("毛利最低的%1种商品").arg(worst));
    low->setColor(QColor(0xc0, 0x30, 0x30));
    low->setBorderColor(low->color());
    QStringList labels;
    // Categories run from the bottom up: the lowest first, the highest last.
    auto add = [&](size_t i, bool isHigh) {
        // The row number keeps equal names apart and finds the row in the list.
        QString label = rows[i].SP.section(QLatin1Char('/'), 0, 0);
        if (label.size() > 10) label = label.left(9) + QStringLiteral("…");
        labels << QStringLiteral("%1 %2").arg(i + 1).arg(label);
        *high << (isHigh ? rows[i].YL : 0.0);
        *low << (isHigh ? 0.0 : rows[i].YL);
    };
    for (size_t k = 0; k < worst; ++k)
        add(order[order.size() - 1 - k], false);
    for (size_t k = best; k-- > 0;)
        add(order[k], true);

    auto* series = new QHorizontalStackedBarSeries;
    series->append(high);
    if (worst > 0)
        series->append(low);
    else
        delete low; // a series owns only the sets appended to it
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("商品毛利总额"));
    chart->addSeries(series);
    auto* goods = new QBarCategoryAxis;
    goods->append(labels);
    chart->addAxis(goods, Qt::AlignLeft);
    // Thirty names in a small font, after the chart's theme has set its own.
    QFont small = goods->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    goods->setLabelsFont(small);
    goods->setTruncateLabels(false);
    series->attachAxis(goods);
    auto* money = new QValueAxis;
    money->setTitleText(QStringLiteral("毛利总额(元)"));
    money->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(money, Qt::AlignBottom);
    series->attachAxis(money);
    // A loss too small to see would only stretch the axis below 0.
    double lowest = 0, highest = 0;
    for (const size_t i : order) {
        lowest = std::min(lowest, rows[i].YL);
        highest = std::max(highest, rows[i].YL);
    }
    if (-lowest < highest / 100) lowest = 0;
    money->setRange(lowest, highest > lowest ? highest : lowest + 1);
    money->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignTop);
    auto* view = new QChartView(chart);
    view->setObjectName(QStringLiteral("ChartYL"));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

} // namespace

void frmTJFX_ShangPin::showResult() {
    setRows(std::move(result_->rows));
    setStatusPanelText(GoodsProfit::totalText(result_->list.total));
    if (!result_->list.rows.empty()) setChart(profitChart(result_->list.rows));
}
