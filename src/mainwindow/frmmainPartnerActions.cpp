// The main window's actions on customer demands and suppliers (tabs 0 and 1).
#include "core/Session.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "partners/DemandBook.h"
#include "partners/MaintenanceForm.h"
#include "partners/frmAddGYS.h"
#include "partners/frmAddKHXQ.h"

void frmmain::p添加客户需求() {
    frmAddKHXQ form(session_, this);
    form.exec();
    // The form changed demands behind this view's back.
    Load_ListViewL_0();
}

void frmmain::p改变了结标记() {
    const std::optional<DemandRecord> demand = selectedDemand();
    if (!demand) return;
    try {
        DemandBook(session_).toggleDone(demand->ID);
    } catch (const DbError&) {
        session_.boxes().critical(MaintenanceForm::kSaveFailed, MaintenanceForm::kFailTitle);
        return;
    }
    Load_ListViewL_0();
}

void frmmain::p添加供应商() {
    frmAddGYS form(session_, this);
    form.exec();
    Load_ListViewL_1();
}

void frmmain::编辑维护客户需求() {
    ssTABto01234(listviews::Demands);
    p添加客户需求();
}

void frmmain::编辑维护供应商资料() {
    ssTABto01234(listviews::Suppliers);
    p添加供应商();
}
