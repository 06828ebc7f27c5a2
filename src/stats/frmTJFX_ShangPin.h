#pragma once
// 商品盈利能力统计分析: every goods item's first movement date, stock, quantity sold and gross
// profit, the total in the status bar, and a chart of the items that earn most and least.
#include "stats/GoodsProfit.h"
#include "stats/StatsWindow.h"

#include <memory>

class frmTJFX_ShangPin : public StatsWindow {
    Q_OBJECT
public:
    frmTJFX_ShangPin(Session& session, QWidget* parent = nullptr);

protected:
    std::function<bool(Session&, Progress&)> computation() override;
    void showResult() override;

private:
    struct Result {
        GoodsProfitList list;
        std::vector<StatsListRow> rows;
    };
    std::shared_ptr<Result> result_;
};
