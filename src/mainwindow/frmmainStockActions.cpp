// The main window's actions on goods, sales and purchases (tabs 2 to 4).
#include "core/Session.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "partners/frmAddGYS.h"
#include "partners/frmAddKHXQ.h"
#include "stock/Ledger.h"
#include "stock/StockTexts.h"
#include "stock/frmAddWZ.h"
#include "stock/frmEditWZ.h"
#include "stock/frmIn.h"
#include "stock/frmInEdit.h"
#include "stock/frmOut.h"
#include "stock/frmOutEdit.h"

#include <exception>
#include <memory>

using namespace stocktext;

namespace {

// Shows a stock form modally; the view it changes reloads as soon as it saves.
template <typename Form, typename... Args>
void runStockForm(frmmain* window, Session& session, Args&&... args) {
    try {
        auto form = std::make_unique<Form>(session, std::forward<Args>(args)..., window);
        QObject::connect(form.get(), &StockForm::goodsChanged, window, &frmmain::Load_ListViewL_2);
        QObject::connect(form.get(), &StockForm::salesChanged, window, &frmmain::Load_ListViewL_3);
        QObject::connect(form.get(), &StockForm::purchasesChanged, window, &frmmain::Load_ListViewL_4);
        // Buttons 3 and 4: the supplier and demand forms, over the stock form.
        Form* f = form.get();
        QObject::connect(f, &StockForm::supplierFormRequested, f,
                         [&session, f] { frmAddGYS(session, f).exec(); });
        QObject::connect(f, &StockForm::demandFormRequested, f,
                         [&session, f] { frmAddKHXQ(session, f).exec(); });
        form->exec();
    } catch (const std::exception& e) {
        // The form could not read what it shows; nothing was written.
        session.boxes().warning(QString::fromStdString(e.what()), app::kTitle);
    }
}

// The outcome of an undo: a refusal, or a failure with its reason, in a box; a completion
// after the reload.
bool settleUndo(Session& session, const LedgerResult& r) {
    switch (r.status) {
    case LedgerResult::Status::Done:
        return true;
    case LedgerResult::Status::Refused:
        session.boxes().warning(r.message, app::kTitle);
        return false;
    case LedgerResult::Status::Failed:
        session.boxes().warning(kUndoFailed + QLatin1Char('\n') + r.message, app::kTitle);
        return false;
    case LedgerResult::Status::Cancelled:
        return false;
    }
    return false;
}

} // namespace

void frmmain::p入库库存台账() {
    if (const auto goods = selectedGoods()) runStockForm<frmIn>(this, session_, *goods);
}

void frmmain::p调整修改库存货物() {
    if (const auto goods = selectedGoods()) runStockForm<frmEditWZ>(this, session_, *goods);
}

void frmmain::p出库库存台账() {
    if (const auto goods = selectedGoods()) runStockForm<frmOut>(this, session_, *goods);
}

void frmmain::p新货物注册入库() {
    runStockForm<frmAddWZ>(this, session_);
    Load_ListViewL_2();
}

void frmmain::p修改销货记录() {
    if (const auto sale = selectedSale()) runStockForm<frmOutEdit>(this, session_, *sale);
}

void frmmain::p撤消销货记录() {
    const auto sale = selectedSale();
    if (!sale) return;
    const LedgerResult r = Ledger(session_).undoLastSale(
        *sale, [this] { return AskYesNo(session_, kUndoSaleQuestion, app::kTitle); });
    if (!settleUndo(session_, r)) return;
    Load_ListViewL_3();
    session_.boxes().information(kUndone, app::kTitle);
}

void frmmain::p修改进货记录() {
    if (const auto purchase = selectedPurchase()) runStockForm<frmInEdit>(this, session_, *purchase);
}

void frmmain::p撤消进货记录() {
    const auto purchase = selectedPurchase();
    if (!purchase) return;
    const LedgerResult r = Ledger(session_).undoLastPurchase(
        *purchase, [this] { return AskYesNo(session_, kUndoPurchaseQuestion, app::kTitle); });
    if (!settleUndo(session_, r)) return;
    Load_ListViewL_4();
    session_.boxes().information(kUndone, app::kTitle);
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

void frmmain::查看低于最小库存的商品() {
    // Like a search: the list keeps showing just these goods across edits until the tab changes,
    // and prints as it shows.
    ssTABto01234(listviews::Goods);
    currentSql_ = listviews::lowStockStatement();
    Load_ListViewL_2();
}

void frmmain::p查看低于最小库存的商品() {
    查看低于最小库存的商品();
}
