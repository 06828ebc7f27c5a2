#pragma once
#include "core/Options.h"
#include "core/QueryResult.h"
#include "core/Records.h"
#include "ui/RecordTableModel.h"

#include <QIcon>

// The stock ledger view: goods label, place, stock/minimum, total cost, the three prices.
// Money hidden by the display switches shows as "...". Goods below their minimum stock are
// drawn in a warning colour, with a marker in the stock column.
class GoodsListModel : public RecordTableModel<GoodsRecord> {
public:
    enum Column { RowNumber, Goods, Place, Stock, TotalCost, Prices, ColumnCount };
    explicit GoodsListModel(QObject* parent = nullptr);
    // The total is the sum of the total costs, whatever the switches hide.
    void load(RowSource& rows, const Options& options);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // A minimum stock is set and the stock is under it; a stock equal to the minimum is enough.
    static bool isLowStock(const GoodsRecord& r) { return r.KCmin > 0 && r.ZKC < r.KCmin; }
    void applyOptions(const Options& options) override;

protected:
    QString cellText(int row, int column) const override;

private:
    bool showCost_ = false, showRetail_ = false, showWholesale_ = false, showTransfer_ = false;
    mutable QIcon lowMarker_; // drawn when first shown: a list model may live without a screen
};
