#include "stats/GoodsProfit.h"

#include "core/Session.h"
#include "core/Vb.h"
#include "stats/MovementScan.h"
#include "stats/Progress.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

const std::vector<StatsColumn>& GoodsProfit::columns() {
    static const std::vector<StatsColumn> columns = {
        {QStringLiteral("ID"), QStringLiteral("序号"), 800, Qt::AlignLeft},
        {QStringLiteral("SP"), QStringLiteral("商品标识"), 5000, Qt::AlignLeft, StatsColumn::Kind::Text},
        {QStringLiteral("RQ"), QStringLiteral("注册日期"), 1800, Qt::AlignHCenter, StatsColumn::Kind::Date},
        {QStringLiteral("KC"), QStringLiteral("最新库存量"), 1800, Qt::AlignRight},
        {QStringLiteral("SL"), QStringLiteral("总销售数量"), 1800, Qt::AlignRight},
        {QStringLiteral("YL"), QStringLiteral("毛利总额(元)"), 2000, Qt::AlignRight},
    };
    return columns;
}

QStringList GoodsProfit::texts(const GoodsProfitRow& row, int number) {
    return {QString::number(number), row.SP,          row.RQ, vb::CStr(row.ZKC),
            vb::CStr(row.SLout),     vb::CStr(row.YL)};
}

std::vector<QStringList> GoodsProfit::texts(const std::vector<GoodsProfitRow>& rows) {
    std::vector<QStringList> out;
    out.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        out.push_back(texts(rows[i], int(i) + 1));
    return out;
}

QString GoodsProfit::totalText(double total) {
    return QStringLiteral("......毛 利 合 计 ：  ") + vb::CStr(total) + QStringLiteral(" (元)");
}

namespace {

// What the movements of one goods item add up to.
struct Sums {
    bool dated = false;
    qint64 first = 0; // earliest date and time
    double sold = 0;  // added in ID order, as a sum over the records would add them
    qint64 profitCents = 0;
};

} // namespace

std::optional<GoodsProfitList> GoodsProfit::compute(Session& session, Progress* progress) {
    std::vector<GoodsProfitRow> rows;
    std::unordered_map<qlonglong, size_t> byId;
    session.read(QStringLiteral("select ID,(MC & '/' & JC & '/' & XH) as SP,ZKC,ZCB from T_TZ"),
                 [&](RowSource& r) {
                     while (r.next()) {
                         GoodsProfitRow row;
                         row.ID = r.id(0);
                         row.SP = r.text(1);
                         row.ZKC = vb::Round(r.number(2), 2);
                         row.ZCB = vb::Round(r.number(3), 2);
                         byId.emplace(row.ID, rows.size());
                         rows.push_back(std::move(row));
                     }
                 });

    // Goods IDs are counted up from 1, so a table by ID is small; a hash only for odd files.
    qlonglong maxId = 0;
    for (const GoodsProfitRow& row : rows)
        maxId = std::max(maxId, row.ID);
    std::vector<int> slot;
    if (maxId < qlonglong(rows.size()) * 4 + 1024) {
        slot.assign(size_t(maxId) + 1, -1);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].ID >= 0) slot[size_t(rows[i].ID)] = int(i);
    }
    auto indexOf = [&](qlonglong goods) -> int {
        if (!slot.empty()) return goods >= 0 && goods < qlonglong(slot.size()) ? slot[size_t(goods)] : -1;
        const auto it = byId.find(goods);
        return it == byId.end() ? -1 : int(it->second);
    };

    std::vector<Sums> sums(rows.size());
    MovementScan scan(session, progress);
    const bool read = scan.run(0.05f, 0.95f, [&](const StatsMovement& m) {
        const int at = indexOf(m.goods());
        if (at < 0) return;
        Sums& s = sums[size_t(at)];
        if (m.month >= 0 && (!s.dated || m.when < s.first)) {
            s.dated = true;
            s.first = m.when;
        }
        if (m.sale()) {
            s.sold += m.SL;
            s.profitCents += m.cents();
        } else {
            s.profitCents -= m.cents();
        }
    });
    if (!read) return std::nullopt;

    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
        GoodsProfitRow& row = rows[i];
        const Sums& s = sums[i];
        if (s.dated) row.RQ = vb::DateText(QDate::fromJulianDay(s.first / 86400));
        row.SLout = vb::Round(s.sold, 2);
        row.YL = vb::Round(double(s.profitCents) / 100.0 + row.ZCB, 2);
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (sums[a].dated != sums[b].dated) return sums[a].dated;
        if (sums[a].dated && sums[a].first != sums[b].first) return sums[a].first < sums[b].first;
        return rows[a].ID < rows[b].ID;
    });

    GoodsProfitList list;
    list.rows.reserve(rows.size());
    qint64 totalCents = 0; // the gross profits are whole cents: their sum is exact
    for (const size_t i : order) {
        totalCents += std::llround(rows[i].YL * 100.0);
        list.rows.push_back(std::move(rows[i]));
    }
    list.total = double(totalCents) / 100.0;
    if (progress) progress->setFraction(1.0f);
    return list;
}
