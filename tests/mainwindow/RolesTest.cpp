// The ordinary user reaches no window kept for the administrator by any way into it, and money
// hidden by the display switches shows in no list, print, PDF, export or chart.
#include "MainWindowFixture.h"
#include "core/Startup.h"
#include "stats/frmTJFX_ShiJianD.h"
#include "ui/ReportPreview.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QFile>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace {

// Every window shown (by class) and every menu item enabled in a menu shown, each closed at once.
class Reached : public QObject {
public:
    QStringList names;
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (e->type() != QEvent::Show || !w || !w->isWindow() || qobject_cast<frmmain*>(w)) return false;
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            for (const QAction* a : menu->actions())
                if (a->isEnabled()) names << a->objectName();
        } else {
            names << w->metaObject()->className();
        }
        QTimer::singleShot(0, w, [w] { w->close(); });
        return false;
    }
};

class RolesTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        LoadOptions(session); // a new data file: every QX_ switch on, all money shown
        printers.installed = {{"仓库", "A4"}};
        const qlonglong kh = addRowOf(session, "T_KH", "KHMC,KHZL", {"甲方公司", ""});
        addRowOf(session, "T_KH_XQ", "KHID,RQ,KHXQ,BJ", {kh, "2009-1-9", "要螺丝", false});
        addRowOf(session, "T_GYS", "GYSMC,GYSZL,GHPZ", {"五金商店", "", ""});
        addRowOf(session, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ",
                 {"螺丝钉子", "LSDZ", "M8", "A1", 0, 2, 7774.44, 3887.78, 7771.11, 7772.22, 7773.33, false});
        addMove(-1, "2009-1-9", 2, 7775.56, 0, 1);
        addMove(1, "2009-1-20", 1, 10, 0, kh, 1);
    }
    static QString cells(const QAbstractItemModel& m) {
        QString out;
        for (int r = 0; r < m.rowCount(); ++r)
            for (int c = 0; c < m.columnCount(); ++c)
                out += m.index(r, c).data().toString() + ' ';
        return out;
    }
    QString fileText(const QString& path) {
        if (path.endsWith(".pdf")) return toolOutput("pdftotext", {path, "-"});
        return QFile::exists(path) ? QString::fromUtf8(fileBytes(path)) : "missing " + path;
    }
    QString lastPrint() {
        return printers.printed.empty() ? QString() : fileText(printers.printed.back().pdfPath);
    }

    // The stock ledger and the purchases as listed, printed (staged and on paper) and exported,
    // and the monthly statistics as listed, charted, exported and printed.
    QString everythingShown() {
        QString seen;
        auto w = open(listviews::Goods);
        for (int tab : {listviews::Goods, listviews::Purchases}) {
            w->ssTABto01234(tab);
            seen += cells(*list(*w)->model());
            QTimer::singleShot(0, [] {
                if (auto* preview = qobject_cast<ReportPreview*>(QApplication::activeModalWidget())) {
                    preview->findChild<QPushButton*>("print")->click();
                    preview->close();
                }
            });
            w->GoPrint_2();
            w->GoPrint_4();
            seen += rowsText("select * from T_Print1") + lastPrint();
            for (auto format : {listreports::Format::Csv, listreports::Format::Pdf}) {
                const QString path = dir.filePath(QString("export%1.%2").arg(tab).arg(int(format)) +
                                                  (format == listreports::Format::Pdf ? ".pdf" : ".csv"));
                files.answers.push_back(path);
                w->exportShown(format);
                seen += fileText(path);
            }
        }
        frmTJFX_ShiJianD stats(session);
        stats.show();
        stats.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return stats.listModel().rowCount() > 0; }, 10000));
        seen += cells(stats.listModel());
        for (QAbstractSeries* s : stats.findChild<QChartView*>("ChartJX")->chart()->series()) {
            if (auto* bars = qobject_cast<QBarSeries*>(s))
                for (const QBarSet* set : bars->barSets())
                    for (int i = 0; i < set->count(); ++i)
                        seen += set->label() + ' ' + QString::number(set->at(i)) + ' ';
            if (auto* line = qobject_cast<QLineSeries*>(s))
                for (const QPointF& p : line->points())
                    seen += QString::number(p.y()) + ' ';
        }
        for (int button : {2, 3}) { // CSV, PDF
            const QString path =
                dir.filePath(QString("stats%1.%2").arg(button).arg(button == 2 ? "csv" : "pdf"));
            files.answers.push_back(path);
            click(stats, button);
            seen += fileText(path);
        }
        click(stats, 4);
        return seen + lastPrint();
    }
};

} // namespace

TEST_F(RolesTest, TheOrdinaryUserReachesNoAdministratorWindowByAnyWay) {
    const QString undoPurchase = "该操作将撤消本次进货并还原库存，点“是”完成撤销，点“否”取消本次操作。";
    const QStringList adminOnly = {
        "frmINIT",   "frmOption", "frmShowTXT",       "frmBakup",         "frmAddWZ",  "frmIn",
        "frmEditWZ", "frmInEdit", "frmTJFX_ShiJianD", "frmTJFX_ShangPin", undoPurchase};
    const QStringList gatedItems = {
        "初始化",           "系统设置",          "察看操作日志",     "数据备份与恢复",      "新货物注册入库",
        "p新货物注册入库",  "在账货物进货入库",  "p入库库存台账",    "p修改进货记录",       "p撤消进货记录",
        "在账货物修改调整", "p调整修改库存货物", "营销状态统计分析", "商品盈利能力统计分析"};
    const QStringList everyone = {"frmOut", "frmOutEdit", "frmAddKHXQ", "frmAddGYS", "frmHelp", "frmAbout"};
    for (const bool admin : {false, true}) {
        SCOPED_TRACE(admin ? "administrator" : "ordinary user");
        session.admin = admin;
        boxes.clear();
        boxes.answers.assign(100, false); // every undo asked about is declined
        Reached reached;
        auto w = open(listviews::Demands);
        w->activateWindow();
        qApp->installEventFilter(&reached);

        // The menu bar, item by item (the exit aside).
        for (QAction* menu : w->menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                if (item->objectName() != "安全退出") item->trigger();
        // On each tab, with its first row selected: the right-click menu shown and each of its
        // items chosen, keys and shortcuts pressed on the list, a double-click on the row.
        QList<QKeySequence> keys = {Qt::Key_Return,      Qt::Key_Enter,       Qt::Key_Space,
                                    Qt::Key_F2,          Qt::Key_Menu,        Qt::ALT | Qt::Key_F,
                                    Qt::ALT | Qt::Key_E, Qt::ALT | Qt::Key_T, Qt::ALT | Qt::Key_H};
        for (const QAction* a : w->findChildren<QAction*>())
            keys += a->shortcuts();
        for (const QShortcut* s : w->findChildren<QShortcut*>())
            keys += s->keys();
        for (int tab = 0; tab < listviews::kTabCount; ++tab) {
            w->ssTABto01234(tab);
            QAbstractItemView* view = list(*w);
            const QModelIndex first = view->model()->index(0, 1);
            ASSERT_TRUE(first.isValid()) << tab;
            view->setCurrentIndex(first);
            Q_EMIT view->customContextMenuRequested(view->visualRect(first).center());
            for (QAction* item : w->prepareContextMenu()->actions())
                item->trigger();
            view->setCurrentIndex(first);
            view->setFocus();
            for (const QKeySequence& k : keys) {
                QTest::keySequence(view, k);
                QCoreApplication::processEvents();
            }
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(first).center());
            QCoreApplication::processEvents();
        }
        qApp->removeEventFilter(&reached);
        for (const auto& b : boxes.shown)
            reached.names << b.text;

        for (const QString& name : adminOnly)
            EXPECT_EQ(reached.names.contains(name), admin) << name.toStdString();
        for (const QString& name : gatedItems)
            EXPECT_TRUE(admin || !reached.names.contains(name)) << name.toStdString();
        for (const QString& name : everyone)
            EXPECT_TRUE(reached.names.contains(name)) << name.toStdString();
    }
}

TEST_F(RolesTest, HiddenMoneyShowsNowhere) {
    struct Switch {
        bool Options::*shown;
        QStringList figures; // what it hides, as the program writes the numbers
    };
    const Switch switches[] = {{&Options::Show_ZCB, {"7774.44", "3887.78"}}, // the goods' and the month end's
                               {&Options::Show_JHZJE, {"7775.56"}},
                               {&Options::Show_LSJ, {"7771.11"}},
                               {&Options::Show_PFJ, {"7772.22"}},
                               {&Options::Show_DBJ, {"7773.33"}}};
    const QString all = everythingShown();
    for (const Switch& s : switches) {
        for (const QString& figure : s.figures)
            EXPECT_TRUE(all.contains(figure)) << figure.toStdString(); // shown while switched on
        session.options.*s.shown = false;
        const QString hidden = everythingShown();
        session.options.*s.shown = true;
        for (const QString& figure : s.figures)
            EXPECT_FALSE(hidden.contains(figure)) << figure.toStdString();
    }
}
