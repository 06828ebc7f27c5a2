#pragma once
// The main window: five ledger views on tabs, the keyword search, the menu bar and the
// right-click menus that open the entry and editing forms for the selected row.
#include "core/Records.h"
#include "mainwindow/ListReports.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <optional>

class Session;
class QAction;
class KeywordCombo;
class ListView;
class QLabel;
class QMenu;
class QPushButton;
class QTabBar;
class DemandListModel;
class ListTableModel;
namespace partners {
class SupplierListModel;
}
class GoodsListModel;
class SaleListModel;
class PurchaseListModel;

class frmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmmain(Session& session, QWidget* parent = nullptr);
    ~frmmain() override;

    // Brings a tab to the front (which reloads it) unless it is shown already.
    void ssTABto01234(int tab);
    // Enables the menu items by the role and the permission switches.
    void SetQuanXian();
    // Sets up the current tab's columns, forgets any search and loads the first view.
    void ListViewL_Init_KHXQ();

    // Keyword search: the remembered keywords, remembering one, and running the search
    // typed in the keyword box on the current tab.
    void Load_cmbSS();
    void SaveKey(const QString& key);
    void RunSS();

    // What the main window does after the settings window closes: the options are read
    // again, the start tab is shown (reloaded with the display switches as they are now) and
    // the permission gates applied again.
    void afterSettings();
    // After the initialisation window: a completed initialisation ends the program.
    void afterInitialisation();

    // Print the stock ledger, the sales or the purchases shown, after a look in the preview.
    void GoPrint_2();
    void GoPrint_3();
    void GoPrint_4();
    // Writes the list shown to a file the operator chooses.
    void exportShown(listreports::Format format);
    // The list shown with every row in list order, as texts: printing and export read it here.
    listreports::ShownList shownList();

    int currentTab() const;
    // A search still finding rows (or about to run again after a save stopped it).
    bool loading() const;
    const QString& currentSql() const { return currentSql_; }
    QString statusPanelText() const;
    // The stock ledger's count of goods below their minimum stock; empty on the other tabs.
    QString lowStockPanelText() const;
    QAction* action(const QString& name) const { return actions_.value(name); }

    // Copies of the selected row's record, for the forms opened for it; empty when the view
    // is not shown or no row is selected.
    std::optional<DemandRecord> selectedDemand() const;
    std::optional<SupplierRecord> selectedSupplier() const;
    std::optional<GoodsRecord> selectedGoods() const;
    std::optional<SaleRecord> selectedSale() const;
    std::optional<PurchaseRecord> selectedPurchase() const;

    // The right-click menu of the current tab with its items enabled for the list as it is,
    // or null where a right-click shows nothing.
    QMenu* prepareContextMenu();

public Q_SLOTS:
    // Reload a view with the current statement (the first view when there is none). A view
    // that is not shown is left alone: the tab change loads it afresh.
    void Load_ListViewL_0();
    void Load_ListViewL_1();
    void Load_ListViewL_2();
    void Load_ListViewL_3();
    void Load_ListViewL_4();
    // Enter in the keyword box, or the search button.
    void searchAction();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QString geometryKey() const; // the window's size and place, kept per data file
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildWindow();
    void buildMenus();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption, void (frmmain::*handler)());
    void addSeparator(QMenu* menu, const QString& name);
    QMenu* addPopup(const QString& name);

    void SSTab1_Click();
    void cmdS_Click(int index);
    void loadView(int tab);
    void showLowStockCount();
    void printShown();
    ListTableModel* model(int tab) const;
    void showFoundRows();
    void finishLoad();
    void failLoad(const QString& why);
    void selectRow(int row);
    int screenful() const;
    void fitRowNumbers();
    void placeExitButton();
    int selectedRow() const;
    qlonglong selectedId() const;
    void showContextMenu(const QPoint& pos);
    void showTool(QWidget* window);

    // Menu bar.
    void 初始化();
    void 系统设置();
    void 察看操作日志();
    void 数据备份与恢复();
    void 安全退出();
    void 编辑维护客户需求();
    void 新货物注册入库();
    void 在账货物进货入库();
    void 在账货物修改调整();
    void 销售出库();
    void 查看低于最小库存的商品();
    void 编辑维护供应商资料();
    void 营销状态统计分析();
    void 商品盈利能力统计分析();
    void 项目预算器();
    void 算式计算器();
    void 功能介绍();
    void 操作帮助();
    void 关于();

    // Right-click menus.
    void p添加客户需求();
    void p改变了结标记();
    void p添加供应商();
    void p入库库存台账();
    void p调整修改库存货物();
    void p出库库存台账();
    void p新货物注册入库();
    void p查看低于最小库存的商品();
    void p修改销货记录();
    void p撤消销货记录();
    void p修改进货记录();
    void p撤消进货记录();

    Session& session_;
    QString currentSql_;
    bool firstShown_ = false;
    int loadedTab_ = -1; // the view and statement of the last load
    QString loadedSql_;
    // A reload looks for the row that was selected, among the rows as they come.
    qlonglong keepId_ = -1;
    int keepFrom_ = 0;
    int keepScroll_ = 0;
    bool reloadQueued_ = false;

    QTabBar* SSTab1 = nullptr;
    ListView* ListViewL = nullptr;
    KeywordCombo* cmbSS = nullptr;
    QLabel* statusPanel_ = nullptr;
    QLabel* lowStockPanel_ = nullptr;
    QWidget* topBar_ = nullptr;
    QHash<int, QPushButton*> cmdS;
    QHash<QString, QAction*> actions_;
    QMenu* pmenu_khxq = nullptr;
    QMenu* pmenu_GYS = nullptr;
    QMenu* pmenu_KCTZ = nullptr;
    QMenu* pmenu_XHJL = nullptr;
    QMenu* pmenu_JHJL = nullptr;

    DemandListModel* demands_ = nullptr;
    partners::SupplierListModel* suppliers_ = nullptr;
    GoodsListModel* goods_ = nullptr;
    SaleListModel* sales_ = nullptr;
    PurchaseListModel* purchases_ = nullptr;

    // The calculators are modeless and close with this window.
    QPointer<QWidget> calculatorHS_;
    QPointer<QWidget> calculatorSS_;
};
