// Every writing action on a disk that fails under it: each write, sync, truncation, lock, journal
// deletion, in turn, until the action gets through. The action says it failed, the data file
// holds exactly what it held before (as a plain connection reads it, journal rolled back), and
// the session goes on working once the disk is sound again.
#include "admin/DataFileCopies.h"
#include "admin/DataInitialisation.h"
#include "admin/SettingsBook.h"
#include "core/DataFile.h"
#include "core/KeywordSearch.h"
#include "mainwindow/ListReports.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "partners/CustomerBook.h"
#include "partners/DemandBook.h"
#include "partners/SupplierBook.h"
#include "stock/Ledger.h"
#include "support/FaultyDisk.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTableView>
#include <algorithm>
#include <functional>
#include <iostream>
#include <numeric>
#include <optional>
#include <tuple>

namespace {

using Op = FaultyDisk::Op;
// What the operator is told when the action fails; nothing when it is done.
using Outcome = std::optional<QString>;

struct Action {
    const char* name;
    std::function<Outcome(Session&)> run;
    QStringList failures;        // what comes before the disk's reason in a failure message
    QString failureLogLine = {}; // what the action logs when it fails, if the disk lets it
};

struct Fault {
    Op op;
    int error;
    bool sticky;
    QString reason;
};

Outcome ledger(const LedgerResult& r) {
    if (r.ok()) return std::nullopt;
    return r.status == LedgerResult::Status::Failed ? r.message : "not a failure: " + r.message;
}

Outcome thrown(const std::function<void()>& write) {
    try {
        write();
    } catch (const DbError& e) {
        return e.text;
    }
    return std::nullopt;
}

// The box that said the action failed, if one was shown.
Outcome boxed(Session& s, const std::function<void()>& write) {
    write();
    for (const auto& b : static_cast<ScriptedMessageBoxes&>(s.boxes()).shown)
        if (b.kind == ScriptedMessageBoxes::Kind::Critical || b.kind == ScriptedMessageBoxes::Kind::Warning)
            return b.text;
    return std::nullopt;
}

MovementFields movement(double sl, double zje) {
    return {sl, zje, zje, QDate(2024, 3, 1), 1, 0, QStringLiteral("备注")};
}

// Rows as the lists hand them to the forms (the ledger reads the rest from the file).
template <class Record> Record row(qlonglong id, qlonglong tzid) {
    Record r;
    r.ID = id;
    r.TZID = tzid;
    return r;
}

GoodsRecord hammer() {
    GoodsRecord g;
    g.ID = 2;
    g.MC = QStringLiteral("铁锤子");
    g.XH = QStringLiteral("H2");
    return g;
}

std::vector<Action> actions(const QString& live, const QString& backup) {
    const QString db = QStringLiteral("数据库操作失败：");
    const QString setting = QStringLiteral("操作失败，数据没有改动：") + db;
    const auto yes = [] { return true; };
    using S = Session&;
    return {
        {"registerGoods",
         [](S s) {
             return ledger(
                 Ledger(s).registerGoods({"新到的锤子", "CZ", "H1", "B2", 1, 20, 18, 16}, movement(3, 30)));
         },
         {db}},
        {"bookPurchase",
         [](S s) { return ledger(Ledger(s).bookPurchase(1, movement(5, 45), "进货登记:螺丝钉")); },
         {db}},
        {"bookSale",
         [](S s) { return ledger(Ledger(s).bookSale(1, movement(1, 12), "售出登记:螺丝钉")); },
         {db}},
        {"editPurchase",
         [](S s) { return ledger(Ledger(s).editPurchase(1, movement(12, 110), "修改进货记录:")); },
         {db}},
        {"editSale",
         [](S s) { return ledger(Ledger(s).editSale(2, movement(3, 36), "修改销售记录:")); },
         {db}},
        {"editGoods",
         [](S s) {
             return ledger(Ledger(s).editGoods(1, {"螺丝钉子", "LSDZ", "M8", "A2", 2, 13, 12, 11}));
         },
         {db}},
        {"removeGoods", [](S s) { return ledger(Ledger(s).removeGoods(hammer())); }, {db}},
        {"undoLastSale",
         [=](S s) { return ledger(Ledger(s).undoLastSale(row<SaleRecord>(2, 1), yes)); },
         {db}},
        {"undoLastPurchase",
         [=](S s) { return ledger(Ledger(s).undoLastPurchase(row<PurchaseRecord>(3, -2), yes)); },
         {db}},
        {"addCustomer",
         [](S s) { return thrown([&] { CustomerBook(s).add("李四商行", "电话", QDate(2024, 3, 2)); }); },
         {db}},
        {"updateCustomer",
         [](S s) { return thrown([&] { CustomerBook(s).update(1, "张三五金", "新地址"); }); },
         {db}},
        {"removeCustomer", [](S s) { return thrown([&] { CustomerBook(s).remove(1); }); }, {db}},
        {"addDemand",
         [](S s) { return thrown([&] { DemandBook(s).add(1, QDate(2024, 3, 3), "要十个"); }); },
         {db}},
        {"updateDemand", [](S s) { return thrown([&] { DemandBook(s).updateText(1, "要二十个"); }); }, {db}},
        {"toggleDemand", [](S s) { return thrown([&] { DemandBook(s).toggleDone(1); }); }, {db}},
        {"removeDemand", [](S s) { return thrown([&] { DemandBook(s).remove(1); }); }, {db}},
        {"addSupplier",
         [](S s) { return thrown([&] { SupplierBook(s).add("钉子批发", "城东", "钉子"); }); },
         {db}},
        {"updateSupplier",
         [](S s) { return thrown([&] { SupplierBook(s).update(1, "五金总厂", "城西", "螺丝"); }); },
         {db}},
        {"removeSupplier", [](S s) { return thrown([&] { SupplierBook(s).remove(1); }); }, {db}},
        {"saveStartTab", [](S s) { return boxed(s, [&] { SettingsBook(s).saveStartTab(3); }); }, {setting}},
        {"saveVisibility",
         [](S s) {
             return boxed(s, [&] { SettingsBook(s).saveVisibility({false, true, false, true, false}); });
         },
         {setting}},
        {"savePermissions",
         [](S s) {
             return boxed(s, [&] { SettingsBook(s).savePermissions({true, false, true, false, true}); });
         },
         {setting}},
        {"changeAdminPassword",
         [](S s) {
             QString p = "neu";
             return boxed(s, [&] { SettingsBook(s).changeAdminPassword("8", p); });
         },
         {setting}},
        {"changeUserPassword",
         [](S s) {
             QString p = "neu";
             return boxed(s, [&] { SettingsBook(s).changeUserPassword("8", p); });
         },
         {setting}},
        {"clearKeywords", [](S s) { return boxed(s, [&] { SettingsBook(s).clearKeywords(); }); }, {setting}},
        {"clearLog", [](S s) { return boxed(s, [&] { SettingsBook(s).clearLog(); }); }, {setting}},
        {"unlockInitialisation",
         [](S s) { return boxed(s, [&] { SettingsBook(s).unlockInitialisation(); }); },
         {setting}},
        {"initialise",
         [](S s) {
             s.initUnlocked = true;
             static_cast<ScriptedMessageBoxes&>(s.boxes()).answers = {false, true}; // not cancelled, go on
             return boxed(s, [&] { DataInitialisation(s).attempt("8"); });
         },
         {" 初始化没有完成，数据保持原样：" + db},
         "初始化失败：数据文件出错"},
        {"restore",
         [=](S s) { return thrown([&] { DataFileCopies(s).restore(backup); }); },
         {"所选文件无法读取：", "无法复制数据：", "无法打开数据文件 " + live + "："}},
        {"printStaging",
         [](S s) {
             const listreports::ShownList list{
                 listviews::Goods, {}, 2, [](const listreports::RowVisitor& visit) {
                     visit({}, {"螺丝钉", "M6", "12", "1.2"});
                     visit({}, {"铁锤", "H1", "3", "9"});
                 }};
             return thrown(
                 [&] { listreports::printedReport(s, list, "螺丝", QDateTime::currentDateTime()); });
         },
         {db}},
        {"rememberKeyword", [](S s) { return thrown([&] { RememberKeyword(s, "铁锤"); }); }, {db}},
        {"logLine", [](S s) { return thrown([&] { AppendLog(s, "管理员登录成功"); }); }, {db}},
    };
}

// The dump without the action's line about its own failure, its identifier given back.
QStringList withoutLine(QStringList dump, const QString& line) {
    const QRegularExpression logged("^T_txt\\|(\\d+)\\|[^|]*\\|" + QRegularExpression::escape(line) + "$");
    const qsizetype i = line.isEmpty() ? -1 : dump.indexOf(logged);
    if (i < 0) return dump;
    const QString id = logged.match(dump.takeAt(i)).captured(1);
    dump.replaceInStrings(QRegularExpression("^sqlite_sequence\\|T_txt\\|" + id + "$"),
                          "sqlite_sequence|T_txt|" + QString::number(id.toLongLong() - 1));
    return dump;
}

QString settings(const Options& o) {
    return QStringList{o.PassL, o.PassH, QString::number(o.SSTab_Index)}.join('|') +
           QString("%1%2%3%4%5%6%7%8%9%10")
               .arg(o.Show_ZCB)
               .arg(o.Show_JHZJE)
               .arg(o.Show_LSJ)
               .arg(o.Show_PFJ)
               .arg(o.Show_DBJ)
               .arg(o.QX_TZin0)
               .arg(o.QX_TZin)
               .arg(o.QX_TZedit)
               .arg(o.QX_TZfx)
               .arg(o.QX_INfx);
}

class FileFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // A small shop: goods 1 with purchase 1 and sale 2, goods 2 with purchase 3; customer 1
        // with demand 1; supplier 1; a keyword and a log. The backup is an older state.
        CreateDataFile(start(), 2002);
        ScriptedMessageBoxes quiet;
        Session s(quiet);
        s.open(start());
        SupplierBook(s).add("五金厂", "城南", "螺丝");
        DataFileCopies(s).backup(backup());
        CustomerBook(s).add("张三", "电话", QDate(2024, 1, 5));
        Ledger ledger(s);
        ASSERT_TRUE(
            ledger.registerGoods({"螺丝钉", "LSD", "M6", "A1", 5, 1.5, 1.2, 1}, movement(10, 100)).ok());
        ASSERT_TRUE(ledger.bookSale(1, movement(2, 30), "售出登记:螺丝钉").ok());
        ASSERT_TRUE(ledger.registerGoods({"铁锤子", "TCZ", "H2", "A2", 0, 30, 25, 20}, movement(4, 80)).ok());
        RememberKeyword(s, "螺丝");
    }
    QString start() const { return dir.filePath("start.mdb"); }
    QString backup() const { return dir.filePath("backup.xkg"); }

    FaultyDisk disk; // outlives every connection of the test
    QTemporaryDir dir;
};

} // namespace

TEST_F(FileFaultsTest, EveryWritingActionFailsWholeAndTheSessionGoesOn) {
    const QString io = QStringLiteral("磁盘读写出错");
    const std::vector<Fault> faults = {
        {Op::Write, SQLITE_IOERR_WRITE, false, io},
        {Op::Write, SQLITE_FULL, true, QStringLiteral("磁盘已满")},
        {Op::Sync, SQLITE_IOERR_FSYNC, false, io},
        {Op::Truncate, SQLITE_IOERR_TRUNCATE, false, io},
        {Op::Lock, SQLITE_IOERR_LOCK, false, io},
        {Op::Delete, SQLITE_IOERR_DELETE, false, io},
    };
    const QString live = dir.filePath("DBvost.mdb");
    QFile start(this->start());
    ASSERT_TRUE(start.open(QIODevice::ReadOnly));
    const QByteArray shop = start.readAll();
    const QStringList before = DumpFile(this->start());
    std::vector<int> pairs(faults.size());
    for (const Action& action : actions(live, backup()))
        for (size_t f = 0; f < faults.size(); ++f)
            for (int n = 1;; ++n) {
                const Fault& fault = faults[f];
                SCOPED_TRACE(QString("%1, operation %2 failing with %3 from its %4th")
                                 .arg(action.name)
                                 .arg(int(fault.op))
                                 .arg(fault.error)
                                 .arg(n)
                                 .toStdString());
                for (const char* gone : {"", "-journal", ".bak"})
                    QFile::remove(live + gone);
                QFile copy(live); // QFile::copy would wait for the disk
                ASSERT_TRUE(copy.open(QIODevice::WriteOnly) && copy.write(shop) == shop.size());
                copy.close();
                ScriptedMessageBoxes boxes;
                Session session(boxes);
                session.open(live);
                session.options.PassH = "8";
                const Options fresh = session.options;
                disk.failAt(fault.op, n, fault.error, fault.sticky);
                const Outcome outcome = action.run(session);
                const bool hit = disk.failed();
                disk.heal();
                if (!hit) {
                    EXPECT_EQ(outcome, std::nullopt);
                    break;
                }
                ++pairs[f];
                ASSERT_TRUE(outcome.has_value());
                EXPECT_TRUE(
                    std::any_of(action.failures.begin(), action.failures.end(),
                                [&](const QString& prefix) { return *outcome == prefix + fault.reason; }))
                    << outcome->toStdString();
                EXPECT_EQ(withoutLine(DumpFile(live), action.failureLogLine), before);
                // Nor in the session: no setting changed, nothing unlocked or initialised.
                EXPECT_EQ(settings(session.options), settings(fresh));
                EXPECT_FALSE(session.initUnlocked);
                EXPECT_EQ(session.statusText, "");
                ASSERT_TRUE(session.isOpen());
                EXPECT_TRUE(sqlite3_get_autocommit(session.handle())); // no transaction left open
                EXPECT_NO_THROW(AppendLog(session, "之后"));
            }
    const int all = std::accumulate(pairs.begin(), pairs.end(), 0);
    std::cout << "(action, failure point) pairs: " << all << " (write, full, sync, truncate, lock, delete:";
    for (const int p : pairs)
        std::cout << ' ' << p;
    std::cout << ")" << std::endl;
    RecordProperty("pairs", all);
}

// While the main window is open the disk fills, then the data file turns read-only, then its
// folder takes no new file (SQLite's journal): the operator's next action says why it failed
// and changes nothing; once the disk is sound the same action goes through, with no restart.
// (The tests run as root, whom file permissions do not stop: the disk layer refuses instead.)
TEST_F(FileFaultsTest, TheRunningProgramSaysWhyAndGoesOnOnceTheDiskIsSound) {
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs files;
    ScriptedPrinters printers;
    Session session(boxes, files, printers);
    session.open(start());
    session.admin = true;
    frmmain w(session);
    w.show();
    w.ssTABto01234(listviews::Sales);
    w.findChild<QTableView*>("ListViewL")->selectRow(0);
    ASSERT_EQ(w.selectedSale()->ID, 2);
    const QStringList before = DumpFile(start());
    const auto undo = [&] {
        boxes.clear();
        w.action("p撤消销货记录")->trigger();
        return boxes.shown.size() == 2 ? boxes.shown[1].text : "shown: " + boxes.lastText();
    };
    for (const auto& [op, error, reason] : {std::tuple{Op::Write, SQLITE_FULL, "磁盘已满"},
                                            {Op::Write, SQLITE_READONLY, "数据文件只读"},
                                            {Op::Open, SQLITE_CANTOPEN, "无法打开或建立文件"}}) {
        disk.failAt(op, 1, error, true);
        EXPECT_EQ(undo(), QString("  撤  消  失  败  ！  \n数据库操作失败：") + reason);
        disk.heal();
        EXPECT_EQ(DumpFile(start()), before);
        EXPECT_EQ(w.selectedSale()->ID, 2);
    }
    EXPECT_EQ(undo(), "  撤  消  完  成  ！  ");
    EXPECT_EQ(w.findChild<QTableView*>("ListViewL")->model()->rowCount(), 0);
    EXPECT_EQ(DumpFile(start()).filter(QRegularExpression("^T_IO\\|2\\|")), QStringList());
}
