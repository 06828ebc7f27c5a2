#pragma once
#include "core/Options.h"
#include "core/QueryResult.h"
#include "core/Records.h"
#include "ui/RecordTableModel.h"

// The stock ledger view: goods label, place, stock/minimum, total cost, the three prices.
// Money hidden by the display switches shows as "...".
class GoodsListModel : public RecordTableModel<GoodsRecord> {
public:
    enum Column { RowNumber, Goods, Place, Stock, TotalCost, Prices, ColumnCount };
    explicit GoodsListModel(QObject* parent = nullptr);
    // The total is the sum of the total costs, whatever the switches hide.
    void load(RowSource& rows, const Options& options);

protected:
    QString cellText(int row, int column) const override;

private:
    bool showCost_ = false, showRetail_ = false, showWholesale_ = false, showTransfer_ = false;
};
