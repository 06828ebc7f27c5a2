// Odd input typed into the real forms: each case is stored as the form shows it after the
// save, or refused with its own message leaving the data file as it was; never an SQL error.
#include "stock/LedgerTestSupport.h"

#include "admin/frmOption.h"
#include "core/Startup.h"
#include "mainwindow/frmmain.h"
#include "partners/frmAddGYS.h"
#include "partners/frmAddKH.h"
#include "partners/frmAddKHXQ.h"
#include "stock/frmAddWZ.h"
#include "stock/frmEditWZ.h"
#include "stock/frmIn.h"
#include "stock/frmInEdit.h"
#include "stock/frmOut.h"
#include "stock/frmOutEdit.h"
#include "support/FaultyDisk.h"
#include "ui/MessageBanner.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <memory>

namespace {

struct Case {
    const char* form;                                   // frmmainN: the main window on tab N
    int button;                                         // cmdS(button) after typing
    std::vector<std::pair<const char*, QString>> typed; // box → text
    const char* readBack;                               // read after the save; "" when refused
    QString expected;                                   // its rows, or the refusal shown
};

const QString kLong(10000, u'长');
const QString kLongJC(10000, u'C');
const QString kOdd = QStringLiteral("苹果😀한𠀀");

// The fixture's goods item 1 has 8 in stock (purchase 1, sale 2); customer 1 with demand 1;
// supplier 1.
// clang-format off
const Case kCases[] = {
    {"frmAddWZ", 1, {{"Text1(0)", " 螺\"丝;钉--子' "}, {"Text1(1)", "J\"C;--'"}, {"Text1(2)", "M\"6;--'x"},
                     {"Text1(3)", "A\"1;--'"}, {"Text2(0)", "1"}, {"Text2(2)", "2"}, {"Text2(4)", "票\"据;--'"}},
     "select top 1 MC,JC,XH,KW,(select BZ from T_IO where TZID=-T_TZ.ID) from T_TZ order by ID desc",
     "螺\"丝;钉--子|J\"C;--|M\"6;--x|A\"1;--|票\"据;--"},
    {"frmAddWZ", 1, {{"Text1(0)", kLong}}, "select top 1 MC,JC from T_TZ order by ID desc", kLong + '|' + kLongJC},
    {"frmAddWZ", 1, {{"Text1(0)", kOdd}}, "select top 1 MC,JC from T_TZ order by ID desc", kOdd + "|PG"},
    {"frmAddWZ", 1, {{"Text1(0)", "😀😀"}}, "", "商品名称最少4个西文字符, 保存失败！"},
    {"frmAddWZ", 1, {{"Text1(0)", "螺丝钉子"}, {"Text1(4)", "-5"}, {"Text1(5)", "1e300"}, {"Text1(6)", "inf"},
                     {"Text1(7)", "1,5"}}, "select top 1 KCmin,LSJ,PFJ,DBJ from T_TZ order by ID desc", "-5|1E+300|0|1"},
    {"frmAddWZ", 1, {{"Text1(0)", "螺丝钉子"}, {"Text2(0)", "1e300"}, {"Text2(2)", "1e300"}},
     "select top 1 ZKC,ZCB,DJ from T_TZ order by ID desc", "1E+300|1E+300|1"},
    {"frmAddWZ", 1, {{"Text1(0)", "螺丝钉子"}, {"Text2(0)", "0.01"}, {"Text2(2)", "1e308"}}, "", "金额错误, 保存失败！"},

    {"frmIn", 1, {{"Text2(0)", "nan"}}, "", "商品数量错误, 保存失败！"},
    {"frmIn", 1, {{"Text2(0)", "1,5"}, {"Text2(2)", "-20"}},
     "select top 1 SL,ZJE,(select ZKC from T_TZ where ID=-T_IO.TZID) from T_IO order by ID desc", "1|-20|9"},
    {"frmIn", 1, {{"Text2(0)", "1e300"}, {"Text2(2)", "1e300"}},
     "select top 1 SL,ZJE,(select ZKC from T_TZ where ID=-T_IO.TZID) from T_IO order by ID desc",
     "1E+300|1E+300|1E+300"},
    {"frmIn", 1, {{"Text2(0)", "1"}, {"Text2(3)", "-1e999"}}, "", "金额错误, 保存失败！"},
    {"frmIn", 1, {{"Text2(0)", "1"}, {"DTPicker1", "9999-12-31"}}, "select top 1 RQ from T_IO order by ID desc",
     "9999-12-31"},

    {"frmOut", 1, {{"Text2(0)", "1"}, {"Text2(2)", "1e300"}, {"Text2(4)", "a\"b;c--d'"}},
     "select top 1 ZJE,BZ from T_IO order by ID desc", "1E+300|a\"b;c--d"},
    {"frmInEdit", 1, {{"DTPicker1", "1800-1-1"}, {"Text2(4)", "a\"b;c--d'"}}, "select RQ,BZ from T_IO where ID=1",
     "1800-1-1|a\"b;c--d"},
    {"frmOutEdit", 1, {{"Text2(0)", "nan"}}, "", "商品数量错误, 保存失败！"},
    {"frmOutEdit", 1, {{"Text2(3)", "-5"}, {"Text2(4)", "a\"b;c--d'"}}, "select GZJE,BZ from T_IO where ID=2",
     "-5|a\"b;c--d"},

    {"frmEditWZ", 1, {{"Text1(0)", "螺\"丝;--'"}, {"Text1(1)", "J\"C;--'"}, {"Text1(2)", "M\"6;--'"},
                      {"Text1(3)", "A\"1;--'"}}, "select MC,JC,XH,KW from T_TZ where ID=1",
     "螺\"丝;--|J\"C;--|M\"6;--|A\"1;--"},
    {"frmEditWZ", 1, {{"Text1(6)", "1e999"}}, "", "数值错误, 保存失败！"},

    {"frmAddKH", 1, {{"Text1", "甲\"方;--'"}, {"Text2", "城\"东;--'"}},
     "select top 1 KHMC,KHZL from T_KH order by ID desc", "甲\"方;--|城\"东;--"},
    {"frmAddKH", 2, {{"Text1", "乙\"方;--'"}, {"Text2", "城\"西;--'"}}, "select KHMC,KHZL from T_KH where ID=1",
     "乙\"方;--|城\"西;--"},
    {"frmAddKHXQ", 1, {{"Text1", "要\"货;--'"}, {"DTPicker1", "1899-12-31"}},
     "select top 1 KHID,RQ,KHXQ from T_KH_XQ order by ID desc", "1|1899-12-31|要\"货;--"},
    {"frmAddKHXQ", 2, {{"Text1", kLong}}, "select KHXQ from T_KH_XQ where ID=1", kLong},
    {"frmAddKHXQ", 1, {{"Text1", " ''' "}}, "", " 保 存 失 败 ！ "},
    {"frmAddGYS", 1, {{"Text1", "五\"金;--'"}, {"Text2", "电\"话;--'"}, {"Text3", "螺\"丝;--'"}},
     "select top 1 GYSMC,GYSZL,GHPZ from T_GYS order by ID desc", "五\"金;--|电\"话;--|螺\"丝;--"},
    {"frmAddGYS", 2, {{"Text1", kOdd}, {"Text2", "\";--"}, {"Text3", kLong}},
     "select GYSMC,GYSZL,GHPZ from T_GYS where ID=1", kOdd + "|\";--|" + kLong},

    // The keyword box is the same on every tab and in the partner forms.
    {"frmmain3", 8, {{"cmbSS", kOdd + ",\";--'"}}, "select top 1 cc from T_Key order by id desc", kOdd + ",\";--"},
    // The password boxes hold 8 characters, the most a password may have.
    {"frmOption", 3, {{"Text1", "8"}, {"Text2", "a\"b;--'cdef"}}, "select PassH from T_Option", "a\"b;--c"},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
    for (const auto& [name, text] : c.typed)
        *os << name << ' ';
}

class BadInputTest : public LedgerTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        LedgerTest::SetUp();
        LoadOptions(session);
        session.admin = true;
        registerItem("螺丝钉子", 10, 50);
        ASSERT_TRUE(ledger.bookSale(1, sale(2, QDate(2009, 2, 1)), "x").ok());
        const qlonglong customer = addRowOf(session, "T_KH", "KHMC,KHZL", {"甲方公司", "城东"});
        addRowOf(session, "T_KH_XQ", "KHID,RQ,KHXQ,BJ", {customer, "2009-1-9", "要螺丝", false});
        addRowOf(session, "T_GYS", "GYSMC,GYSZL,GHPZ", {"五金商店", "", ""});
    }

    std::unique_ptr<QWidget> open(const QString& form) {
        if (form.startsWith("frmmain")) {
            session.options.SSTab_Index = form.right(1).toInt();
            auto w = std::make_unique<frmmain>(session);
            w->show();
            return w;
        }
        if (form == "frmAddWZ") return std::make_unique<frmAddWZ>(session);
        if (form == "frmEditWZ") return std::make_unique<frmEditWZ>(session, *ledger.goods(1));
        if (form == "frmIn") return std::make_unique<frmIn>(session, *ledger.goods(1));
        if (form == "frmOut") return std::make_unique<frmOut>(session, *ledger.goods(1));
        if (form == "frmInEdit") return std::make_unique<frmInEdit>(session, purchaseRecord(1));
        if (form == "frmOutEdit") return std::make_unique<frmOutEdit>(session, saleRecord(2));
        if (form == "frmAddKH") return std::make_unique<frmAddKH>(session);
        if (form == "frmAddKHXQ") return std::make_unique<frmAddKHXQ>(session);
        if (form == "frmAddGYS") return std::make_unique<frmAddGYS>(session);
        return std::make_unique<frmOption>(session);
    }
};

// The operator types numbers key by key (the boxes couple as typed) and pastes long texts.
void enter(QWidget& form, const QString& name, const QString& text) {
    if (auto* date = form.findChild<QDateEdit*>(name)) {
        date->setDate(QDate::fromString(text, "yyyy-M-d"));
        ASSERT_EQ(date->date().toString("yyyy-M-d"), text);
    } else if (auto* combo = form.findChild<QComboBox*>(name)) {
        combo->setEditText(text);
    } else if (auto* box = form.findChild<QLineEdit*>(name);
               box && name.startsWith("Text2(") && name != "Text2(4)") {
        type(box, text);
    } else {
        ASSERT_NE(box, nullptr) << name.toStdString();
        box->setText(text);
    }
}

} // namespace

TEST_P(BadInputTest, StoredAsShownOrRefusedWithItsMessage) {
    const Case& c = GetParam();
    const QStringList before = DumpFile(dataPath());
    auto form = open(c.form);
    for (const auto& [name, text] : c.typed)
        enter(*form, name, text);
    boxes.clear();
    click(*form, c.button);

    QStringList alarms; // what went wrong, in a box
    for (const auto& b : boxes.shown)
        if (b.kind == ScriptedMessageBoxes::Kind::Warning || b.kind == ScriptedMessageBoxes::Kind::Critical)
            alarms << b.text;
    if (*c.readBack) {
        EXPECT_EQ(alarms, QStringList());
        EXPECT_EQ(rowsText(c.readBack), c.expected);
    } else {
        const auto* banner = form->findChild<MessageBanner*>();
        EXPECT_TRUE(alarms == QStringList{c.expected} ||
                    (alarms.isEmpty() && banner && banner->text() == c.expected))
            << alarms.join('\n').toStdString() << (banner ? banner->text().toStdString() : "");
        EXPECT_EQ(DumpFile(dataPath()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, BadInputTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    return info.param.form + ("_" + std::to_string(info.index));
});
