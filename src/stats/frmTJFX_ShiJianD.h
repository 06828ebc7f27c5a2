#pragma once
// 营销状态统计分析: purchases, sales, profit and stock value month by month, with a chart of
// the monthly purchases and sales and the accumulated profit.
#include "core/Options.h"
#include "stats/MonthlyStatus.h"
#include "stats/StatsWindow.h"

#include <memory>

class frmTJFX_ShiJianD : public StatsWindow {
    Q_OBJECT
public:
    frmTJFX_ShiJianD(Session& session, QWidget* parent = nullptr);

protected:
    std::function<bool(Session&, Progress&)> computation() override;
    void showResult() override;

private:
    struct Result {
        std::vector<MonthRow> months;
        std::vector<StatsListRow> rows;
    };
    std::shared_ptr<Result> result_;
    Options shown_; // the switches that hide money, as the window opened
};
