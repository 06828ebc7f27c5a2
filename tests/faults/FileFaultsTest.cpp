// Every writing action on a disk that fails under it: each write, sync, lock, journal
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
#include "partners/SupplierBook.h"
#include "stock/Ledger.h"
#include "support/FaultyDisk.h"
#include "support/TestFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTableView>
#include <algorithm>
#include <functional>
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

const QString kDb = QStringLiteral("数据库操作失败：");

// A booking: the ledger returns its failure.
Action booking(const char* name, const std::function<LedgerResult(Ledger&)>& write) {
    return {name,
            [=](Session& s) -> Outcome {
                Ledger ledger(s);
                const LedgerResult r = write(ledger);
                if (r.ok()) return std::nullopt;
                return r.status == LedgerResult::Status::Failed ? r.message : "not a failure: " + r.message;
            },
            {kDb}};
}

// A partner book or a single write: the failure is thrown.
Action throwing(const char* name, const std::function<void(Session&)>& write, QStringList failures = {kDb}) {
    return {name,
            [=](Session& s) -> Outcome {
                try {
                    write(s);
                } catch (const DbError& e) {
                    return e.text;
                }
                return std::nullopt;
            },
            failures};
}

// A setting or the initialisation: the box that says the failure, if one was shown.
Action boxed(const char* name, const std::function<void(Session&)>& write, QStringList failures,
             QString failureLogLine = {}) {
    return {name,
            [=](Session& s) -> Outcome {
                write(s);
                for (const auto& b : static_cast<ScriptedMessageBoxes&>(s.boxes()).shown)
                    if (b.kind == ScriptedMessageBoxes::Kind::Critical ||
                        b.kind == ScriptedMessageBoxes::Kind::Warning)
                        return b.text;
                return std::nullopt;
            },
            failures, failureLogLine};
}

Action setting(const char* name, const std::function<void(SettingsBook&)>& write) {
    return boxed(name,
                 [=](Session& s) {
                     SettingsBook book(s);
                     write(book);
                 },
                 {"操作失败，数据没有改动：" + kDb});
}

MovementFields movement(double sl, double zje) {
    return {sl, zje, zje, QDate(2024, 3, 1), 1, 0, QStringLiteral("备注")};
}

std::vector<Action> actions(const QString& live, const QString& backup) {
    const auto yes = [] { return true; };
    using L = Ledger&;
    using S = Session&;
    using B = SettingsBook&;
    // Rows as the lists hand them to the forms (the ledger reads the rest from the file).
    GoodsRecord hammer;
    hammer.ID = 2;
    hammer.MC = QStringLiteral("铁锤子");
    hammer.XH = QStringLiteral("H2");
    SaleRecord sale;
    sale.ID = 2;
    sale.TZID = 1;
    PurchaseRecord purchase;
    purchase.ID = 3;
    purchase.TZID = -2;
    return {
        booking("registerGoods",
                [](L l) {
                    return l.registerGoods({"新到的锤子", "CZ", "H1", "B2", 1, 20, 18, 16}, movement(3, 30));
                }),
        booking("bookPurchase", [](L l) { return l.bookPurchase(1, movement(5, 45), "进货登记:螺丝钉"); }),
        booking("bookSale", [](L l) { return l.bookSale(1, movement(1, 12), "售出登记:螺丝钉"); }),
        booking("editPurchase", [](L l) { return l.editPurchase(1, movement(12, 110), "修改进货记录:"); }),
        booking("editSale", [](L l) { return l.editSale(2, movement(3, 36), "修改销售记录:"); }),
        booking("editGoods",
                [](L l) {
                    return l.editGoods(1, {"螺丝钉子", "LSDZ", "M8", "A2", 2, 13, 12, 11});
                }),
        booking("removeGoods", [=](L l) { return l.removeGoods(hammer); }),
        booking("undoLastSale", [=](L l) { return l.undoLastSale(sale, yes); }),
        booking("undoLastPurchase", [=](L l) { return l.undoLastPurchase(purchase, yes); }),
        throwing("addCustomer", [](S s) { CustomerBook(s).add("李四商行", "电话", QDate(2024, 3, 2)); }),
        throwing("removeCustomer", [](S s) { CustomerBook(s).remove(1); }),
        // Every other partner write is one statement: an update and an insert stand for them.
        throwing("updateCustomer", [](S s) { CustomerBook(s).update(1, "张三五金", "新地址"); }),
        throwing("addSupplier", [](S s) { SupplierBook(s).add("钉子批发", "城东", "钉子"); }),
        setting("saveStartTab", [](B b) { b.saveStartTab(3); }),
        setting("saveVisibility",
                [](B b) {
                    b.saveVisibility({false, true, false, true, false});
                }),
        setting("savePermissions",
                [](B b) {
                    b.savePermissions({true, false, true, false, true});
                }),
        setting("changeAdminPassword",
                [](B b) {
                    QString p = "neu";
                    b.changeAdminPassword("8", p);
                }),
        setting("clearKeywords", [](B b) { b.clearKeywords(); }),
        setting("clearLog", [](B b) { b.clearLog(); }),
        setting("unlockInitialisation", [](B b) { b.unlockInitialisation(); }),
        boxed(
            "initialise",
            [](S s) {
                s.initUnlocked = true;
                static_cast<ScriptedMessageBoxes&>(s.boxes()).answers = {false, true}; // not cancelled, go on
                DataInitialisation(s).attempt("8");
            },
            {" 初始化没有完成，数据保持原样：" + kDb}, "初始化失败：数据文件出错"),
        throwing("restore", [=](S s) { DataFileCopies(s).restore(backup); },
                 {"所选文件无法读取：", "无法复制数据：", "无法打开数据文件 " + live + "："}),
        throwing("printStaging",
                 [](S s) {
                     const listreports::ShownList list{
                         listviews::Goods, {}, 2, [](const listreports::RowVisitor& visit) {
                             visit({}, {"螺丝钉", "M6", "12", "1.2"});
                             visit({}, {"铁锤", "H1", "3", "9"});
                         }};
                     listreports::printedReport(s, list, "螺丝", QDateTime::currentDateTime());
                 }),
        throwing("rememberKeyword", [](S s) { RememberKeyword(s, "铁锤"); }),
        throwing("logLine", [](S s) { AppendLog(s, "管理员登录成功"); }),
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

// Every setting the session holds.
auto settings(const Options& o) {
    return std::tie(o.PassL, o.PassH, o.MingCheng, o.SSTab_Index, o.Show_ZCB, o.Show_JHZJE, o.Show_LSJ,
                    o.Show_PFJ, o.Show_DBJ, o.QX_TZin0, o.QX_TZin, o.QX_TZedit, o.QX_TZfx, o.QX_INfx,
                    o.Ver_ID);
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
        {Op::Lock, SQLITE_IOERR_LOCK, false, io},
        {Op::Delete, SQLITE_IOERR_DELETE, false, io},
    };
    const QString live = dir.filePath("DBvost.mdb");
    const QByteArray shop = fileBytes(this->start());
    const QStringList before = DumpFile(this->start());
    std::vector<int> hits(faults.size()); // (action, failure point) pairs of each fault
    for (const Action& action : actions(live, backup()))
        for (size_t f = 0; f < faults.size(); ++f)
            for (int n = 1;; ++n) {
                const Fault& fault = faults[f];
                SCOPED_TRACE(std::string(action.name) + ", fault " + std::to_string(f) + " from operation " +
                             std::to_string(n));
                for (const char* gone : {"", "-journal", ".bak"})
                    QFile::remove(live + gone);
                writeFile(live, shop); // QFile::copy would wait for the disk
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
                ++hits[f];
                ASSERT_TRUE(outcome.has_value());
                EXPECT_TRUE(
                    std::any_of(action.failures.begin(), action.failures.end(),
                                [&](const QString& prefix) { return *outcome == prefix + fault.reason; }))
                    << outcome->toStdString();
                EXPECT_EQ(withoutLine(DumpFile(live), action.failureLogLine), before);
                // Nor in the session: no setting changed, nothing unlocked or initialised.
                EXPECT_TRUE(settings(session.options) == settings(fresh));
                EXPECT_FALSE(session.initUnlocked);
                EXPECT_EQ(session.statusText, "");
                ASSERT_TRUE(session.isOpen());
                EXPECT_TRUE(sqlite3_get_autocommit(session.handle())); // no transaction left open
                EXPECT_NO_THROW(AppendLog(session, "之后"));
            }
    for (size_t f = 0; f < faults.size(); ++f)
        EXPECT_GT(hits[f], 0) << f; // a fault no action meets tests nothing
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
