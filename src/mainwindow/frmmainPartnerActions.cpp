// The main window's actions on customer demands and suppliers (tabs 0 and 1).
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"

void frmmain::p添加客户需求() {
    // Opens frmAddKHXQ modally, then reloads the demands view.
}

void frmmain::p改变了结标记() {
    // Toggles the done flag of the selected demand, then reloads the demands view.
}

void frmmain::p添加供应商() {
    // Opens frmAddGYS modally, then reloads the suppliers view.
}

void frmmain::编辑维护客户需求() {
    ssTABto01234(listviews::Demands);
    p添加客户需求();
}

void frmmain::编辑维护供应商资料() {
    ssTABto01234(listviews::Suppliers);
    p添加供应商();
}
