#include "stats/MonthlyStatus.h"

#include "core/Options.h"
#include "core/Vb.h"
#include "stats/MovementScan.h"
#include "stats/Progress.h"

#include <algorithm>

const std::vector<StatsColumn>& MonthlyStatus::columns() {
    static const std::vector<StatsColumn> columns = {
        {QStringLiteral("ID"), QStringLiteral("序号"), 800, Qt::AlignLeft},
        {QStringLiteral("RQ"), QStringLiteral("日期"), 1000, Qt::AlignHCenter, StatsColumn::Kind::Text},
        {QStringLiteral("JH"), QStringLiteral("当月进货(元)"), 2000, Qt::AlignRight},
        {QStringLiteral("XS"), QStringLiteral("当月销售(元)"), 2000, Qt::AlignRight},
        {QStringLiteral("YL"), QStringLiteral("当月盈利(元)"), 2000, Qt::AlignRight},
        {QStringLiteral("KC"), QStringLiteral("截至当月底库存(元)"), 3000, Qt::AlignRight},
        {QStringLiteral("ZYL"), QStringLiteral("截至当月底盈利(元)"), 3000, Qt::AlignRight},
    };
    return columns;
}

QStringList MonthlyStatus::texts(const MonthRow& row, int number, const Options& shown) {
    const QString hidden = QStringLiteral("...");
    return {QString::number(number), row.RQ1,          shown.Show_JHZJE ? vb::CStr(row.JH) : hidden,
            vb::CStr(row.XS),        vb::CStr(row.YL), shown.Show_ZCB ? vb::CStr(row.KC) : hidden,
            vb::CStr(row.ZYL)};
}

std::vector<QStringList> MonthlyStatus::texts(const std::vector<MonthRow>& rows, const Options& shown) {
    std::vector<QStringList> out;
    out.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        out.push_back(texts(rows[i], int(i) + 1, shown));
    return out;
}

namespace {

// One goods item's running figures while its movements are replayed.
struct Replay {
    double quantity = 0, amount = 0, unitCost = 0;

    void apply(const StatsMovement& m) {
        // A purchase adds its quantity and amount; a sale takes its quantity away at the
        // current unit cost. A zero quantity counts as a purchase.
        const double signedQuantity = m.TZID < 0 ? m.SL : -m.SL;
        quantity += signedQuantity;
        if (signedQuantity < 0) {
            amount += unitCost * signedQuantity;
        } else {
            amount += m.TZID < 0 ? m.ZJE : 0.0;
            // With nothing left in stock there is no unit cost to compute: the last one stays.
            if (quantity != 0) unitCost = amount / quantity;
        }
    }
};

} // namespace

std::optional<std::vector<MonthRow>> MonthlyStatus::compute(Session& session, Progress* progress) {
    MovementScan scan(session, progress);
    std::vector<StatsMovement> moves;
    moves.reserve(size_t(scan.count()));
    const bool read = scan.run(0.0f, 0.8f, [&](const StatsMovement& m) {
        // A record without a date belongs to no month.
        if (m.month >= 0) moves.push_back(m);
    });
    if (!read) return std::nullopt;

    // The months that have movements, and each record's place among them.
    int first = INT_MAX, last = -1;
    for (const StatsMovement& m : moves) {
        first = std::min(first, m.month);
        last = std::max(last, m.month);
    }
    std::vector<int> slot(moves.empty() ? 0 : size_t(last - first + 1), -1);
    for (const StatsMovement& m : moves)
        slot[size_t(m.month - first)] = 0;
    std::vector<MonthRow> rows;
    for (size_t k = 0; k < slot.size(); ++k)
        if (slot[k] == 0) {
            slot[k] = int(rows.size());
            rows.push_back({MonthText(first + int(k))});
        }
    const size_t n = rows.size();
    auto monthOf = [&](const StatsMovement& m) { return size_t(slot[size_t(m.month - first)]); };

    // The month's purchases and sales; amounts are whole cents, so the sums are exact.
    std::vector<qint64> bought(n), sold(n);
    for (const StatsMovement& m : moves)
        (m.sale() ? sold : bought)[monthOf(m)] += m.cents();

    // Each goods item's movements replayed once, in date order, its amount at every month end
    // added to that month's stock value. Items are added in ascending order within each month.
    std::sort(moves.begin(), moves.end(), [](const StatsMovement& a, const StatsMovement& b) {
        if (a.goods() != b.goods()) return a.goods() < b.goods();
        if (a.when != b.when) return a.when < b.when;
        return a.ID < b.ID;
    });
    if (progress) {
        if (progress->stopped()) return std::nullopt;
        progress->setFraction(0.9f);
    }
    std::vector<double> stockValue(n, 0.0);
    for (size_t i = 0; i < moves.size();) {
        const qlonglong goods = moves[i].goods();
        Replay item;
        size_t month = monthOf(moves[i]);
        for (; i < moves.size() && moves[i].goods() == goods; ++i) {
            for (const size_t at = monthOf(moves[i]); month < at; ++month)
                stockValue[month] += item.amount;
            item.apply(moves[i]);
        }
        for (; month < n; ++month)
            stockValue[month] += item.amount;
    }

    qint64 paidLessTaken = 0; // purchases minus sales up to the month end, in cents
    for (size_t i = 0; i < n; ++i) {
        MonthRow& r = rows[i];
        r.JH = double(bought[i]) / 100.0;
        r.XS = double(sold[i]) / 100.0;
        r.KC = vb::Round(stockValue[i], 2);
        paidLessTaken += bought[i] - sold[i];
        r.ZYL = vb::Round(r.KC - double(paidLessTaken) / 100.0, 2);
        r.YL = i == 0 ? r.ZYL : vb::Round(r.ZYL - rows[i - 1].ZYL, 2);
    }
    if (progress) progress->setFraction(1.0f);
    return rows;
}
