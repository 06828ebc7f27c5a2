#include "mainwindow/frmmain.h"

#include "core/FileDialogs.h"
#include "core/KeywordSearch.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "mainwindow/DemandListModel.h"
#include "mainwindow/GoodsListModel.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/PurchaseListModel.h"
#include "mainwindow/SaleListModel.h"
#include "partners/SupplierListModel.h"
#include "ui/CommandButton.h"
#include "ui/KeywordCombo.h"
#include "ui/ListView.h"
#include "ui/MarkerDelegate.h"
#include "ui/ReportPreview.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

frmmain::frmmain(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("frmmain"));
    demands_ = new DemandListModel(this);
    suppliers_ = new partners::SupplierListModel(7000, this);
    goods_ = new GoodsListModel(this);
    sales_ = new SaleListModel(this);
    purchases_ = new PurchaseListModel(this);
    buildWindow();
    buildMenus();
    for (int tab = 0; tab < listviews::kTabCount; ++tab) {
        ListTableModel* m = model(tab);
        // Only the list shown loads; the others are cleared on every tab change.
        connect(m, &ListTableModel::rowsFound, this, [this, m] {
            if (m == model(currentTab())) showFoundRows();
        });
        connect(m, &ListTableModel::loadFinished, this, [this, m] {
            if (m == model(currentTab())) finishLoad();
        });
        connect(m, &ListTableModel::loadFailed, this, [this, m](const QString& why) {
            if (m == model(currentTab())) failLoad(why);
        });
        connect(m, &ListTableModel::loadStopped, this, [this] {
            // A save stopped the search; it runs again on the saved data once the save is done.
            if (std::exchange(reloadQueued_, true)) return;
            QTimer::singleShot(0, this, [this] {
                if (!std::exchange(reloadQueued_, false)) return; // run already
                if (loadedTab_ == currentTab() && !loadedSql_.isEmpty()) loadView(currentTab());
            });
        });
    }

    session_.statusBarHook = [this](const QString& text) { statusPanel_->setText(text); };
    setWindowTitle(app::kTitle + QStringLiteral("v") + app::kVersion);
    currentSql_.clear();
    Load_cmbSS();
    if (!session_.options.MingCheng.isEmpty())
        setWindowTitle(windowTitle() + QStringLiteral(" (") + session_.options.MingCheng +
                       QStringLiteral(")"));
    session_.initUnlocked = false;
    SetQuanXian();
    restoreGeometry(QSettings().value(geometryKey()).toByteArray());
}

QString frmmain::geometryKey() const {
    return QStringLiteral("windowGeometry/") + QString::fromLatin1(QUrl::toPercentEncoding(session_.path()));
}

frmmain::~frmmain() {
    session_.statusBarHook = nullptr;
    delete calculatorHS_;
    delete calculatorSS_;
}

void frmmain::buildWindow() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);

    topBar_ = new QWidget(central);
    auto* top = new QHBoxLayout(topBar_);
    top->setContentsMargins(6, 0, 6, 0);
    cmbSS = new KeywordCombo(topBar_);
    cmbSS->setCompleter(nullptr); // the text searched is the text typed, letter case included
    cmbSS->setMaxVisibleItems(20);
    cmbSS->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbSS->setMinimumContentsLength(24);
    cmbSS->setToolTip(QStringLiteral("输入或选择想要查询的内容(任何部分或全部;数字或汉字)"));
    connect(cmbSS->lineEdit(), &QLineEdit::returnPressed, this, &frmmain::searchAction);
    top->addWidget(cmbSS, 1);

    auto button = [this](int index, const QString& caption, const QString& tip, QStyle::StandardPixmap icon) {
        auto* b = commandButton(this, &frmmain::cmdS_Click, index, caption, topBar_);
        if (!tip.isEmpty()) b->setToolTip(tip);
        b->setIcon(style()->standardIcon(icon));
        cmdS.insert(index, b);
        return b;
    };
    top->addWidget(button(8, QStringLiteral(" 搜索"), {}, QStyle::SP_FileDialogContentsView));
    top->addWidget(button(21, QStringLiteral(" 打印"), {}, QStyle::SP_FileDialogDetailedView));
    const auto exportButton = [this, top](const QString& name, const QString& caption,
                                          listreports::Format format) {
        auto* b = new QPushButton(caption, topBar_);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, format] { exportShown(format); });
        top->addWidget(b);
    };
    exportButton(QStringLiteral("exportPdf"), QStringLiteral("导出PDF"), listreports::Format::Pdf);
    exportButton(QStringLiteral("exportXlsx"), QStringLiteral("导出Excel"), listreports::Format::Xlsx);
    exportButton(QStringLiteral("exportCsv"), QStringLiteral("导出CSV"), listreports::Format::Csv);
    top->addSpacing(16);
    top->addWidget(
        button(11, QStringLiteral("帮助"), QStringLiteral("操作指南"), QStyle::SP_MessageBoxQuestion));
    top->addStretch(1);
    // The exit button keeps its own place near the right edge (placeExitButton).
    button(0, QStringLiteral("退出"), QStringLiteral("安全退出"), QStyle::SP_DialogCloseButton);
    layout->addWidget(topBar_);

    SSTab1 = new QTabBar(central);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setExpanding(false);
    SSTab1->setDrawBase(true);
    {
        const QSignalBlocker quiet(SSTab1); // the first view loads when the window first shows
        for (int tab = 0; tab < listviews::kTabCount; ++tab)
            SSTab1->addTab(listviews::tabCaption(tab));
    }
    connect(SSTab1, &QTabBar::currentChanged, this, [this] { SSTab1_Click(); });
    layout->addWidget(SSTab1);

    ListViewL = new ListView(central);
    ListViewL->setObjectName(QStringLiteral("ListViewL"));
    // The stock column's low-stock marker sits in the cell's margin, beside the figures.
    ListViewL->setIconSize(QSize(9, 9));
    ListViewL->setItemDelegate(new MarkerDelegate(ListViewL));
    ListViewL->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListViewL, &QWidget::customContextMenuRequested, this, &frmmain::showContextMenu);
    ListViewL->setModel(demands_);
    layout->addWidget(ListViewL, 1);
    setCentralWidget(central);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    statusPanel_ = new QLabel(bar);
    statusPanel_->setObjectName(QStringLiteral("StatusBar1Panel1"));
    statusPanel_->setTextFormat(Qt::PlainText);
    bar->addWidget(statusPanel_, 1);
    lowStockPanel_ = new QLabel(bar);
    lowStockPanel_->setObjectName(QStringLiteral("StatusBar1Panel2"));
    lowStockPanel_->setTextFormat(Qt::PlainText);
    lowStockPanel_->hide();
    bar->addPermanentWidget(lowStockPanel_);
    setStatusBar(bar);

    setMinimumSize(twips::toPx(*this, 11280 + 1200), 480);
    resize(1200, 760);
}

int frmmain::currentTab() const {
    return SSTab1->currentIndex();
}

QString frmmain::statusPanelText() const {
    return statusPanel_->text();
}

QString frmmain::lowStockPanelText() const {
    return lowStockPanel_->isHidden() ? QString() : lowStockPanel_->text();
}

// ---- tabs and loading ------------------------------------------------------------------

void frmmain::ssTABto01234(int tab) {
    if (tab < 0 || tab >= listviews::kTabCount) return;
    if (SSTab1->currentIndex() != tab) SSTab1->setCurrentIndex(tab);
}

void frmmain::SSTab1_Click() {
    ListViewL_Init_KHXQ();
}

void frmmain::ListViewL_Init_KHXQ() {
    const int tab = currentTab();
    QItemSelectionModel* oldSelection = ListViewL->selectionModel();
    switch (tab) {
    case listviews::Demands:
        ListViewL->setModel(demands_);
        break;
    case listviews::Suppliers:
        ListViewL->setModel(suppliers_);
        break;
    case listviews::Goods:
        ListViewL->setModel(goods_);
        break;
    case listviews::Sales:
        ListViewL->setModel(sales_);
        break;
    default:
        ListViewL->setModel(purchases_);
        break;
    }
    if (oldSelection && oldSelection != ListViewL->selectionModel()) oldSelection->deleteLater();
    // The list starts empty; the rows of the view left behind are not needed until it loads again.
    demands_->clear();
    suppliers_->clear();
    goods_->clear();
    sales_->clear();
    purchases_->clear();
    currentSql_.clear();
    loadedTab_ = -1;
    lowStockPanel_->hide();
    cmdS.value(21)->setEnabled(tab >= listviews::Goods);
    ListViewL->resetColumnWidths();
    ListViewL->rememberColumnWidths(session_.path(), QStringLiteral("frmmain/%1").arg(tab));
    switch (tab) {
    case listviews::Demands:
        Load_ListViewL_0();
        break;
    case listviews::Suppliers:
        Load_ListViewL_1();
        break;
    case listviews::Goods:
        Load_ListViewL_2();
        break;
    case listviews::Sales:
        Load_ListViewL_3();
        break;
    default:
        Load_ListViewL_4();
        break;
    }
}

void frmmain::fitRowNumbers() {
    // The row number column widens when a search has too many rows for its digits to show.
    QHeaderView* header = ListViewL->horizontalHeader();
    const int rows = ListViewL->model()->rowCount();
    const int needed = ListViewL->fontMetrics().horizontalAdvance(QString::number(std::max(rows, 1))) +
                       2 * ListViewL->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ListViewL) +
                       8;
    const int width = std::max(
        twips::toPx(*this, ListViewL->model()->headerData(0, Qt::Horizontal, listroles::TwipsRole).toInt()),
        needed);
    if (header->sectionSize(0) != width) {
        header->resizeSection(0, width);
        ListViewL->fitLastColumn();
    }
}

void frmmain::Load_ListViewL_0() {
    loadView(listviews::Demands);
}

void frmmain::Load_ListViewL_1() {
    loadView(listviews::Suppliers);
}

void frmmain::Load_ListViewL_2() {
    loadView(listviews::Goods);
}

void frmmain::Load_ListViewL_3() {
    loadView(listviews::Sales);
}

void frmmain::Load_ListViewL_4() {
    loadView(listviews::Purchases);
}

ListTableModel* frmmain::model(int tab) const {
    switch (tab) {
    case listviews::Demands:
        return demands_;
    case listviews::Suppliers:
        return suppliers_;
    case listviews::Goods:
        return goods_;
    case listviews::Sales:
        return sales_;
    default:
        return purchases_;
    }
}

bool frmmain::loading() const {
    return reloadQueued_ || model(currentTab())->loading();
}

int frmmain::screenful() const {
    return ListViewL->viewport()->height() / std::max(1, ListViewL->verticalHeader()->defaultSectionSize()) +
           1;
}

void frmmain::loadView(int tab) {
    if (tab != currentTab()) return;
    if (currentSql_.isEmpty()) currentSql_ = listviews::defaultStatement(tab);
    // Reloading the same rows after an edit keeps the operator's place in the list.
    const bool reload = tab == loadedTab_ && currentSql_ == loadedSql_;
    keepId_ = reload ? selectedId() : -1;
    keepFrom_ = 0;
    keepScroll_ = ListViewL->verticalScrollBar()->value();
    loadedTab_ = tab;
    loadedSql_ = currentSql_;
    try {
        if (currentSql_ != listviews::defaultStatement(tab)) {
            // A search may find millions of rows: they show as they are found, and a row's
            // texts are read when it is shown.
            ListTableModel* m = model(tab);
            m->applyOptions(session_.options);
            m->stream(session_, currentSql_, listviews::baseStatement(tab), screenful());
            if (m->loading()) showFoundRows();
            return;
        }
        // A first view is at most 200 rows: read at once, with their records.
        session_.read(currentSql_, [&](RowSource& rows) {
            switch (tab) {
            case listviews::Demands:
                demands_->load(rows);
                break;
            case listviews::Suppliers:
                suppliers_->load(rows);
                break;
            case listviews::Goods:
                goods_->load(rows, session_.options);
                break;
            case listviews::Sales:
                sales_->load(rows);
                break;
            default:
                purchases_->load(rows, session_.options);
                break;
            }
        });
    } catch (const DbError& e) {
        failLoad(e.text);
        return;
    }
    finishLoad();
}

void frmmain::showFoundRows() {
    const int tab = currentTab();
    ListTableModel* m = model(tab);
    fitRowNumbers();
    if (keepId_ > 0) {
        const int row = m->rowOf(keepId_, keepFrom_);
        keepFrom_ = m->rowCount();
        if (row >= 0) {
            selectRow(row);
            keepId_ = -1;
        }
    } else if (!ListViewL->currentIndex().isValid() && m->rowCount() > 0) {
        ListViewL->setCurrentIndex(m->index(0, 0));
    }
    SetStatusText(session_, listviews::runningText(tab, m->rowCount()));
}

void frmmain::finishLoad() {
    const int tab = currentTab();
    ListTableModel* m = model(tab);
    fitRowNumbers();
    const int keepRow = keepId_ > 0 ? m->rowOf(keepId_, keepFrom_) : -1;
    keepId_ = -1;
    if (keepRow >= 0)
        selectRow(keepRow);
    else if (!ListViewL->currentIndex().isValid() && m->rowCount() > 0)
        ListViewL->setCurrentIndex(m->index(0, 0));
    SetStatusText(session_, listviews::statusText(tab, m->total(), session_.options));
    if (tab == listviews::Goods) showLowStockCount();
}

void frmmain::failLoad(const QString& why) {
    // A statement the data file refuses leaves an empty list and a message, and the next
    // reload goes back to the first view instead of failing again.
    currentSql_.clear();
    loadedSql_.clear();
    keepId_ = -1;
    model(currentTab())->clear();
    session_.boxes().warning(why, app::kTitle);
    finishLoad();
}

void frmmain::selectRow(int row) {
    ListViewL->setCurrentIndex(ListViewL->model()->index(row, 0));
    ListViewL->verticalScrollBar()->setValue(keepScroll_);
    ListViewL->scrollTo(ListViewL->model()->index(row, 0));
}

void frmmain::showLowStockCount() {
    // The whole ledger's count, whatever the list shows: the first view holds only 200 goods.
    try {
        const qlonglong n = session_.query(listviews::lowStockCountStatement()).value(0, 0).toLongLong();
        lowStockPanel_->setText(listviews::lowStockText(n));
        lowStockPanel_->setStyleSheet(n > 0 ? QStringLiteral("color: #a31f14;") : QString());
        lowStockPanel_->show();
    } catch (const DbError&) {
        lowStockPanel_->hide(); // the list's own load has said what is wrong
    }
}

// ---- selected row ----------------------------------------------------------------------

int frmmain::selectedRow() const {
    const QItemSelectionModel* selection = ListViewL->selectionModel();
    if (!selection) return -1;
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

qlonglong frmmain::selectedId() const {
    const int row = selectedRow();
    if (row < 0) return -1;
    const QString key =
        ListViewL->model()->data(ListViewL->model()->index(row, 0), listroles::KeyRole).toString();
    return key.mid(2).toLongLong();
}

std::optional<DemandRecord> frmmain::selectedDemand() const {
    if (currentTab() != listviews::Demands) return std::nullopt;
    return demands_->copyOf(selectedRow());
}

std::optional<SupplierRecord> frmmain::selectedSupplier() const {
    if (currentTab() != listviews::Suppliers) return std::nullopt;
    return suppliers_->copyOf(selectedRow());
}

std::optional<GoodsRecord> frmmain::selectedGoods() const {
    if (currentTab() != listviews::Goods) return std::nullopt;
    return goods_->copyOf(selectedRow());
}

std::optional<SaleRecord> frmmain::selectedSale() const {
    if (currentTab() != listviews::Sales) return std::nullopt;
    return sales_->copyOf(selectedRow());
}

std::optional<PurchaseRecord> frmmain::selectedPurchase() const {
    if (currentTab() != listviews::Purchases) return std::nullopt;
    return purchases_->copyOf(selectedRow());
}

// ---- keyword search --------------------------------------------------------------------

void frmmain::Load_cmbSS() {
    try {
        cmbSS->load(session_);
    } catch (const DbError& e) {
        session_.boxes().warning(e.text, app::kTitle); // searching still works without them
    }
    cmbSS->setCurrentIndex(-1);
    cmbSS->setEditText(QString());
}

void frmmain::SaveKey(const QString& key) {
    cmbSS->remember(session_, key);
}

void frmmain::searchAction() {
    const QString text = StripChars(cmbSS->currentText(), QStringLiteral("'"));
    cmbSS->setEditText(text);
    try {
        SaveKey(text);
    } catch (const DbError& e) {
        session_.boxes().warning(e.text, app::kTitle); // the search still runs
    }
    RunSS();
}

void frmmain::RunSS() {
    const int tab = currentTab();
    currentSql_ = listviews::searchStatement(tab, cmbSS->currentText());
    loadView(tab);
}

// ---- buttons and window events ---------------------------------------------------------

void frmmain::cmdS_Click(int index) {
    switch (index) {
    case 0:
        close();
        break;
    case 8:
        searchAction();
        break;
    case 11:
        功能介绍();
        break;
    case 21:
        if (currentTab() == listviews::Goods) GoPrint_2();
        if (currentTab() == listviews::Sales) GoPrint_3();
        if (currentTab() == listviews::Purchases) GoPrint_4();
        break;
    default:
        break;
    }
}

void frmmain::GoPrint_2() {
    if (currentTab() == listviews::Goods) printShown();
}

void frmmain::GoPrint_3() {
    if (currentTab() == listviews::Sales) printShown();
}

void frmmain::GoPrint_4() {
    if (currentTab() == listviews::Purchases) printShown();
}

listreports::ShownList frmmain::shownList() {
    // A print or export of a search still running takes all of its rows; one that a save
    // stopped runs again first.
    try {
        model(currentTab())->finishLoading();
        if (std::exchange(reloadQueued_, false)) {
            loadView(currentTab());
            model(currentTab())->finishLoading();
        }
    } catch (const DbError&) {
        // The list is empty, and the load's failure has been shown.
    }
    switch (currentTab()) {
    case listviews::Demands:
        return listreports::shownList(listviews::Demands, *demands_);
    case listviews::Suppliers:
        return listreports::shownList(listviews::Suppliers, *suppliers_);
    case listviews::Goods:
        return listreports::shownList(listviews::Goods, *goods_);
    case listviews::Sales:
        return listreports::shownList(listviews::Sales, *sales_);
    default:
        return listreports::shownList(listviews::Purchases, *purchases_);
    }
}

void frmmain::printShown() {
    if (!listreports::printerReady(session_)) return;
    const listreports::ShownList list = shownList();
    if (list.rowCount == 0) return;
    // The title names the keyword box's text as it reads now, searched or not.
    const QString keyword = cmbSS->currentText();
    std::optional<Report> report;
    try {
        report = listreports::printedReport(session_, list, keyword, QDateTime::currentDateTime());
    } catch (const DbError& e) {
        session_.boxes().warning(e.text, app::kTitle);
        return;
    }
    ReportPreview preview(session_, std::move(*report),
                          listreports::fileName(list.kind, listreports::Format::Pdf), this);
    preview.exec();
}

void frmmain::exportShown(listreports::Format format) {
    static constexpr std::array<const char*, 3> kFilters = {
        "PDF 文件(*.pdf)|*.pdf", "Excel 工作簿(*.xlsx)|*.xlsx", "CSV 文件(*.csv)|*.csv"};
    static constexpr std::array<const char*, 3> kCaptions = {"导出PDF", "导出Excel", "导出CSV"};
    const listreports::ShownList list = shownList();
    const std::optional<QString> path = session_.fileDialogs().saveFileName(
        QString::fromUtf8(kCaptions[size_t(format)]), listreports::fileName(list.kind, format),
        QString::fromUtf8(kFilters[size_t(format)]));
    if (!path) return;
    const QString failed = listreports::exportList(session_, list, cmbSS->currentText(), format, *path);
    if (failed.isEmpty())
        session_.boxes().information(QStringLiteral("已导出到 ") + QDir::toNativeSeparators(*path),
                                     app::kTitle);
    else
        session_.boxes().warning(failed, app::kTitle);
}

void frmmain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    placeExitButton();
    if (firstShown_) return;
    firstShown_ = true;
    const int start = std::clamp(session_.options.SSTab_Index, 0, listviews::kTabCount - 1);
    if (SSTab1->currentIndex() != start)
        ssTABto01234(start);
    else
        SSTab1_Click();
}

void frmmain::closeEvent(QCloseEvent* event) {
    for (int tab = 0; tab < listviews::kTabCount; ++tab)
        model(tab)->cancel();
    // The calculators belong to this window's run; with them gone no window keeps the program alive.
    if (calculatorHS_) calculatorHS_->close();
    if (calculatorSS_) calculatorSS_->close();
    QSettings().setValue(geometryKey(), saveGeometry());
    event->accept();
}

void frmmain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeExitButton();
}

void frmmain::placeExitButton() {
    QPushButton* exit = cmdS.value(0);
    if (!exit || !topBar_) return;
    // Its left edge sits 1200 twips in from the window's outer right edge, never left of 11280 twips.
    const int outer = frameGeometry().width();
    const int left = std::max(outer - twips::toPx(*this, 1200), twips::toPx(*this, 11280));
    const int buttonWidth = std::max(twips::toPx(*this, 1200) - (outer - width()) - 6, 40);
    exit->setGeometry(left, (topBar_->height() - exit->sizeHint().height()) / 2, buttonWidth,
                      exit->sizeHint().height());
    exit->raise();
    // The other controls of the bar stay clear of it.
    if (QLayout* bar = topBar_->layout())
        bar->setContentsMargins(6, 0, std::max(6, topBar_->width() - left + 6), 0);
}
