// The menu bar, the right-click menus and the permission gates of the main window.
#include "admin/frmAbout.h"
#include "admin/frmBakup.h"
#include "admin/frmHelp.h"
#include "admin/frmINIT.h"
#include "admin/frmOption.h"
#include "admin/frmShowTXT.h"
#include "core/Session.h"
#include "core/Startup.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "stats/frmTJFX_ShangPin.h"
#include "stats/frmTJFX_ShiJianD.h"
#include "tools/frmJSQ_HS.h"
#include "tools/frmJSQ_SS.h"
#include "ui/ListView.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

QAction* frmmain::addItem(QMenu* menu, const QString& name, const QString& caption,
                          void (frmmain::*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    actions_.insert(name, a);
    return a;
}

void frmmain::addSeparator(QMenu* menu, const QString& name) {
    QAction* s = menu->addSeparator();
    s->setObjectName(name);
    actions_.insert(name, s);
}

QMenu* frmmain::addPopup(const QString& name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    return menu;
}

void frmmain::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* system = bar->addMenu(QStringLiteral("系统(&F)"));
    system->setObjectName(QStringLiteral("系统"));
    addItem(system, QStringLiteral("初始化"), QStringLiteral("初始化"), &frmmain::初始化);
    addSeparator(system, QStringLiteral("s1"));
    addItem(system, QStringLiteral("系统设置"), QStringLiteral("设置..."), &frmmain::系统设置);
    addItem(system, QStringLiteral("察看操作日志"), QStringLiteral("察看操作日志"), &frmmain::察看操作日志);
    addSeparator(system, QStringLiteral("s13"));
    addItem(system, QStringLiteral("数据备份与恢复"), QStringLiteral("数据备份与恢复"),
            &frmmain::数据备份与恢复);
    addSeparator(system, QStringLiteral("s15"));
    addItem(system, QStringLiteral("安全退出"), QStringLiteral("安全退出"), &frmmain::安全退出);

    QMenu* operations = bar->addMenu(QStringLiteral("操作(&E)"));
    operations->setObjectName(QStringLiteral("操作"));
    addItem(operations, QStringLiteral("编辑维护客户需求"), QStringLiteral("编辑维护客户需求"),
            &frmmain::编辑维护客户需求);
    addSeparator(operations, QStringLiteral("ss21"));
    addItem(operations, QStringLiteral("新货物注册入库"), QStringLiteral("新商品注册登记"),
            &frmmain::新货物注册入库);
    addSeparator(operations, QStringLiteral("s23"));
    addItem(operations, QStringLiteral("在账货物进货入库"), QStringLiteral("在账商品进货登记"),
            &frmmain::在账货物进货入库);
    addItem(operations, QStringLiteral("在账货物修改调整"), QStringLiteral("在账商品修改调整"),
            &frmmain::在账货物修改调整);
    addItem(operations, QStringLiteral("销售出库"), QStringLiteral("销售登记"), &frmmain::销售出库);
    addItem(operations, QStringLiteral("查看低于最小库存的商品"), QStringLiteral("查看低于最小库存的商品"),
            &frmmain::查看低于最小库存的商品);
    addSeparator(operations, QStringLiteral("ss29"));
    addItem(operations, QStringLiteral("编辑维护供应商资料"), QStringLiteral("编辑维护供应商资料"),
            &frmmain::编辑维护供应商资料);

    QMenu* tools = bar->addMenu(QStringLiteral("工具(&T)"));
    tools->setObjectName(QStringLiteral("工具"));
    addItem(tools, QStringLiteral("营销状态统计分析"), QStringLiteral("营销状态统计分析"),
            &frmmain::营销状态统计分析);
    addItem(tools, QStringLiteral("商品盈利能力统计分析"), QStringLiteral("商品盈利能力统计分析"),
            &frmmain::商品盈利能力统计分析);
    addSeparator(tools, QStringLiteral("ss32"));
    addItem(tools, QStringLiteral("客户与营销统计分析"), QStringLiteral("客户与营销统计分析"), nullptr)
        ->setEnabled(false);
    addItem(tools, QStringLiteral("供应商与营销统计分析"), QStringLiteral("供应商与营销统计分析"), nullptr)
        ->setEnabled(false);
    addSeparator(tools, QStringLiteral("s39"));
    addItem(tools, QStringLiteral("项目预算器"), QStringLiteral("项目预算器"), &frmmain::项目预算器);
    addItem(tools, QStringLiteral("算式计算器"), QStringLiteral("算式计算器"), &frmmain::算式计算器);

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("帮助"));
    addItem(help, QStringLiteral("功能介绍"), QStringLiteral("功能介绍"), &frmmain::功能介绍);
    addItem(help, QStringLiteral("操作帮助"), QStringLiteral("操作帮助"), &frmmain::操作帮助);
    addSeparator(help, QStringLiteral("s43"));
    addItem(help, QStringLiteral("关于"), QStringLiteral("关于..."), &frmmain::关于);

    pmenu_khxq = addPopup(QStringLiteral("pmenu_khxq"));
    addItem(pmenu_khxq, QStringLiteral("p添加客户需求"), QStringLiteral("添加修改或删除"),
            &frmmain::p添加客户需求);
    addSeparator(pmenu_khxq, QStringLiteral("s51"));
    addItem(pmenu_khxq, QStringLiteral("p改变了结标记"), QStringLiteral("改变了结标记"),
            &frmmain::p改变了结标记);

    pmenu_GYS = addPopup(QStringLiteral("pmenu_GYS"));
    addItem(pmenu_GYS, QStringLiteral("p添加供应商"), QStringLiteral("添加修改或删除"),
            &frmmain::p添加供应商);

    pmenu_KCTZ = addPopup(QStringLiteral("pmenu_KCTZ"));
    addItem(pmenu_KCTZ, QStringLiteral("p入库库存台账"), QStringLiteral("在账商品进货登记"),
            &frmmain::p入库库存台账);
    addItem(pmenu_KCTZ, QStringLiteral("p调整修改库存货物"), QStringLiteral("在账商品修改调整"),
            &frmmain::p调整修改库存货物);
    addItem(pmenu_KCTZ, QStringLiteral("p出库库存台账"), QStringLiteral("销售登记"), &frmmain::p出库库存台账);
    addSeparator(pmenu_KCTZ, QStringLiteral("ss71"));
    addItem(pmenu_KCTZ, QStringLiteral("p新货物注册入库"), QStringLiteral("新商品注册登记"),
            &frmmain::p新货物注册入库);
    addSeparator(pmenu_KCTZ, QStringLiteral("ss73"));
    addItem(pmenu_KCTZ, QStringLiteral("p查看低于最小库存的商品"), QStringLiteral("查看低于最小库存的商品"),
            &frmmain::p查看低于最小库存的商品);

    pmenu_XHJL = addPopup(QStringLiteral("pmenu_XHJL"));
    // Sales are added from the stock ledger; the item only says so.
    addItem(pmenu_XHJL, QStringLiteral("P添加XS"), QStringLiteral("添加请在库存台账中操作"), nullptr)
        ->setEnabled(false);
    addItem(pmenu_XHJL, QStringLiteral("p修改销货记录"), QStringLiteral("修改销售记录"),
            &frmmain::p修改销货记录);
    addItem(pmenu_XHJL, QStringLiteral("p撤消销货记录"), QStringLiteral("撤消销售记录"),
            &frmmain::p撤消销货记录);

    pmenu_JHJL = addPopup(QStringLiteral("pmenu_JHJL"));
    addItem(pmenu_JHJL, QStringLiteral("P添加JH"), QStringLiteral("添加请在库存台账中操作"), nullptr)
        ->setEnabled(false);
    addItem(pmenu_JHJL, QStringLiteral("p修改进货记录"), QStringLiteral("修改进货记录"),
            &frmmain::p修改进货记录);
    addItem(pmenu_JHJL, QStringLiteral("p撤消进货记录"), QStringLiteral("撤消进货记录"),
            &frmmain::p撤消进货记录);
}

void frmmain::SetQuanXian() {
    const bool admin = session_.admin;
    const Options& o = session_.options;
    auto gate = [this](std::initializer_list<const char*> names, bool enabled) {
        for (const char* name : names)
            action(QString::fromUtf8(name))->setEnabled(enabled);
    };
    gate({"初始化", "系统设置", "察看操作日志", "数据备份与恢复"}, admin);
    gate({"新货物注册入库", "p新货物注册入库"}, admin || !o.QX_TZin0);
    gate({"在账货物进货入库", "p入库库存台账", "p修改进货记录", "p撤消进货记录"}, admin || !o.QX_TZin);
    gate({"在账货物修改调整", "p调整修改库存货物"}, admin || !o.QX_TZedit);
    gate({"营销状态统计分析"}, admin || !o.QX_TZfx);
    gate({"商品盈利能力统计分析"}, admin || !o.QX_INfx);
}

QMenu* frmmain::prepareContextMenu() {
    const bool hasRows = ListViewL->model() && ListViewL->model()->rowCount() > 0;
    switch (currentTab()) {
    case listviews::Demands:
        action(QStringLiteral("p改变了结标记"))->setEnabled(hasRows);
        return pmenu_khxq;
    case listviews::Suppliers:
        return pmenu_GYS;
    case listviews::Goods:
        // An empty list only ever takes these two away; the permission gates give them back.
        if (!hasRows) {
            action(QStringLiteral("p入库库存台账"))->setEnabled(false);
            action(QStringLiteral("p调整修改库存货物"))->setEnabled(false);
        }
        action(QStringLiteral("p出库库存台账"))->setEnabled(hasRows);
        return pmenu_KCTZ;
    case listviews::Sales:
        return hasRows ? pmenu_XHJL : nullptr;
    case listviews::Purchases:
        return hasRows ? pmenu_JHJL : nullptr;
    default:
        return nullptr;
    }
}

void frmmain::showContextMenu(const QPoint& pos) {
    if (QMenu* menu = prepareContextMenu()) menu->exec(ListViewL->viewport()->mapToGlobal(pos));
}

// ---- menu bar items that open windows of their own ------------------------------------

void frmmain::初始化() {
    {
        frmINIT form(session_, this);
        form.exec();
    }
    afterInitialisation();
}

void frmmain::系统设置() {
    {
        frmOption form(session_, this);
        form.exec();
    }
    afterSettings();
}

void frmmain::afterSettings() {
    if (!ReloadOptions(session_)) return; // the program is stopping
    const int start = std::clamp(session_.options.SSTab_Index, 0, listviews::kTabCount - 1);
    if (currentTab() != start)
        ssTABto01234(start);
    else
        SSTab1_Click(); // the same tab, shown with the switches as they are now
    SetQuanXian();
}

void frmmain::afterInitialisation() {
    // A completed initialisation leaves nothing to show: the program ends without a question.
    if (session_.statusText != QStringLiteral("初始化完成")) return;
    close();
    QCoreApplication::exit(0);
}

void frmmain::察看操作日志() {
    frmShowTXT form(session_, this);
    form.exec();
}

void frmmain::数据备份与恢复() {
    {
        frmBakup form(session_, this);
        form.exec();
    }
    // The data file was replaced under the lists: the program ends without a further word.
    if (session_.statusText == QStringLiteral("恢复完成")) {
        close();
        QCoreApplication::exit(0);
    }
}

void frmmain::安全退出() {
    close();
}

void frmmain::营销状态统计分析() {
    frmTJFX_ShiJianD(session_, this).exec();
}

void frmmain::商品盈利能力统计分析() {
    frmTJFX_ShangPin(session_, this).exec();
}

void frmmain::项目预算器() {
    if (!calculatorHS_) {
        calculatorHS_ = new frmJSQ_HS(session_.boxes());
        calculatorHS_->setAttribute(Qt::WA_DeleteOnClose);
    }
    showTool(calculatorHS_);
}

void frmmain::算式计算器() {
    if (!calculatorSS_) {
        calculatorSS_ = new frmJSQ_SS(session_.boxes());
        calculatorSS_->setAttribute(Qt::WA_DeleteOnClose);
    }
    showTool(calculatorSS_);
}

void frmmain::showTool(QWidget* window) {
    // Modeless and one of each: choosing it again brings the open one to the front.
    window->show();
    window->raise();
    window->activateWindow();
}

void frmmain::功能介绍() {
    frmHelp form(this);
    form.exec();
}

void frmmain::操作帮助() {
    功能介绍();
}

void frmmain::关于() {
    frmAbout form(this);
    form.exec();
}
