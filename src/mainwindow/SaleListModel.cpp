#include "mainwindow/SaleListModel.h"

void SaleListModel::load(RowSource& rows) {
    loadMovements(rows, "KHZL", "KHXQ");
}

QString SaleListModel::cellText(const SaleRecord& r, int column) const {
    static_assert(Date == 1 && Goods == 2 && Quantity == 3 && Amount == 4 && Note == 5);
    return movementCell(r, column, true, r.KHZL, r.KHXQ);
}
