// The main window's actions on goods, sales and purchases (tabs 2 to 4).
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"

void frmmain::p入库库存台账() {
    // Opens frmIn modally for the selected goods item.
}

void frmmain::p调整修改库存货物() {
    // Opens frmEditWZ modally for the selected goods item.
}

void frmmain::p出库库存台账() {
    // Opens frmOut modally for the selected goods item.
}

void frmmain::p新货物注册入库() {
    // Opens frmAddWZ modally, then reloads the stock ledger.
}

void frmmain::p修改销货记录() {
    // Opens frmOutEdit modally for the selected sale.
}

void frmmain::p撤消销货记录() {
    // Undoes the selected sale when it is its goods item's last one, then reloads the sales view.
}

void frmmain::p修改进货记录() {
    // Opens frmInEdit modally for the selected purchase.
}

void frmmain::p撤消进货记录() {
    // Undoes the selected purchase when it is its goods item's last one, then reloads the purchases view.
}

void frmmain::新货物注册入库() {
    ssTABto01234(listviews::Goods);
    p新货物注册入库();
}

void frmmain::在账货物进货入库() {
    ssTABto01234(listviews::Goods);
    p入库库存台账();
}

void frmmain::在账货物修改调整() {
    ssTABto01234(listviews::Goods);
    p调整修改库存货物();
}

void frmmain::销售出库() {
    ssTABto01234(listviews::Goods);
    p出库库存台账();
}
