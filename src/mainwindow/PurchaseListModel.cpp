#include "mainwindow/PurchaseListModel.h"

void PurchaseListModel::load(RowSource& rows, const Options& options) {
    showAmount_ = options.Show_JHZJE;
    loadMovements(rows, "GYS", "KHZL");
}

QString PurchaseListModel::cellText(const PurchaseRecord& r, int column) const {
    static_assert(Date == 1 && Goods == 2 && Quantity == 3 && Amount == 4 && Note == 5);
    return movementCell(r, column, showAmount_, r.GYS, r.KHZL);
}
