// What only the stock forms can get wrong: the coupling of the boxes as the operator types,
// prefills, the price line, the old supplier or demand chosen again, Check1, banners,
// messages and the reload signals.
#include "LedgerTestSupport.h"

#include "stock/GoodsText.h"
#include "stock/frmAddWZ.h"
#include "stock/frmEditWZ.h"
#include "stock/frmIn.h"
#include "stock/frmInEdit.h"
#include "stock/frmOut.h"
#include "stock/frmOutEdit.h"
#include "support/FaultyDisk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using Kind = ScriptedMessageBoxes::Kind;

namespace {

QLineEdit* t2(QWidget& form, int i) {
    return child(form, QStringLiteral("Text2(%1)").arg(i));
}
QLineEdit* t1(QWidget& form, int i) {
    return child(form, QStringLiteral("Text1(%1)").arg(i));
}
// Each entry of a list as "text=ID".
QStringList items(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i) + '=' + list->itemData(i).toString();
    return out;
}
// The quantity, price and amount boxes.
QStringList texts(QWidget& form) {
    return {t2(form, 0)->text(), t2(form, 1)->text(), t2(form, 2)->text()};
}
QComboBox* combo(QWidget& form, const char* name) {
    return form.findChild<QComboBox*>(name);
}
QDateEdit* date(QWidget& form) {
    return form.findChild<QDateEdit*>("DTPicker1");
}

// Every text box of a form as "name=text".
QStringList boxTexts(QWidget& form) {
    QStringList out;
    for (const QLineEdit* b : form.findChildren<QLineEdit*>())
        if (b->objectName().startsWith("Text")) out << b->objectName() + '=' + b->text();
    return out;
}

} // namespace

class StockFormsTest : public LedgerTest {
protected:
    GoodsRecord goodsRecord(qlonglong id) { return *ledger.goods(id); }
    qlonglong supplier(const QString& name) {
        return session.addRow("T_GYS", {{"GYSMC", name}, {"GHPZ", "五金"}, {"GYSZL", ""}});
    }
    qlonglong demand(const QString& customer, const QString& text, bool settled = false) {
        const qlonglong kh = session.addRow("T_KH", {{"KHMC", customer}, {"KHZL", ""}});
        return session.addRow("T_KH_XQ", {{"KHID", kh}, {"RQ", "2009-1-9"}, {"KHXQ", text}, {"BJ", settled}});
    }
    qlonglong customerOf(qlonglong demandId) {
        return scalar(QStringLiteral("select KHID from T_KH_XQ where ID=%1").arg(demandId)).toLongLong();
    }
};

TEST_F(StockFormsTest, CouplingOfQuantityPriceAndAmount) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    frmIn form(session, goodsRecord(a));
    // What the operator does to the quantity (0), price (1) and amount (2): "0=3" types 3 into
    // the quantity, "1:2" pastes 2 into the price with the mouse; then the three boxes.
    const std::pair<QString, QStringList> steps[] = {
        // Typed amount stays; the price follows.
        {"0=3 2=10", {"3", "3.33", "10"}},
        // Typed price: the amount follows, and the price is left as typed.
        {"1=3.33", {"3", "3.33", "9.99"}},
        // A new quantity recomputes the amount from the price, not the price from the amount.
        {"2=10 0=6", {"6", "3.33", "19.98"}},
        // A paste counts as the program's change: the price follows it, and the amount follows
        // the rounded price in turn.
        {"0:3 1:2 2:10", {"3", "3.33", "9.99"}},
        // No quantity: a typed amount stays and the price is left alone; a computed one is 0.
        {"0=", {"", "3.33", "0"}},
        {"2=12kg", {"", "3.33", "12kg"}},
        {"2:15", {"", "3.33", "0"}},
    };
    for (const auto& [actions, expected] : steps) {
        for (const QString& act : actions.split(' ')) {
            if (act[1] == '=')
                type(t2(form, act[0].digitValue()), act.mid(2));
            else
                t2(form, act[0].digitValue())->setText(act.mid(2));
        }
        EXPECT_EQ(texts(form), expected) << actions.toStdString();
    }

    // A key pressed in one box and released in the next (Tab) leaves no flag behind.
    type(t2(form, 0), "2");
    QTest::keyPress(t2(form, 2), Qt::Key_Tab);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(t2(form, 2), &out);
    type(t2(form, 1), "4");
    EXPECT_EQ(t2(form, 2)->text(), "8");
    // A number too big to hold changes nothing around it; the save refuses it.
    t2(form, 0)->setText("1e999");
    EXPECT_EQ(t2(form, 2)->text(), "8");
    EXPECT_FALSE(form.SaveRec());
    EXPECT_EQ(form.banner().text(), "商品数量错误, 保存失败！");
}

TEST_F(StockFormsTest, PurchaseAndSaleEntry) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    session.execSql(
        QStringLiteral("update T_TZ set JC='LSDZ',XH='M8',KW='A1',KCmin=5,LSJ=12.5,PFJ=11,DBJ=10 where ID=%1")
            .arg(a));
    const qlonglong s1 = supplier("永固五金");
    const qlonglong d1 = demand("张三", "要螺丝");
    demand("李四", "已了的需求", true);
    frmIn form(session, goodsRecord(a));
    EXPECT_EQ(form.findChild<QPlainTextEdit*>("txtSP")->toPlainText(),
              "商品：螺丝钉子(LSDZ)\n型号：M8\n库位：A1\n库存：10    最小库存：5");
    EXPECT_EQ(date(form)->date(), QDate::currentDate());
    EXPECT_EQ(items(combo(form, "cmbGYS")), QStringList({"=0", "永固五金;五金=" + QString::number(s1)}));
    EXPECT_EQ(items(combo(form, "cmbKHXQ")),
              QStringList({"=0", "2009-1-9;张三;要螺丝=" + QString::number(d1)})); // open only
    EXPECT_EQ(combo(form, "cmbGYS")->currentIndex(), 0);

    QSignalSpy reload(&form, &StockForm::goodsChanged);
    type(t2(form, 0), "10");
    type(t2(form, 2), "70");
    type(t2(form, 4), "O'K");
    combo(form, "cmbGYS")->setCurrentIndex(1);
    combo(form, "cmbKHXQ")->setCurrentIndex(1);
    click(form, 1);
    EXPECT_EQ(reload.count(), 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.shown.size(), 1u);
    expectBox(boxes.shown[0], Kind::Information, "  保   存   完   成  ！  ", "Vostrel");
    EXPECT_EQ(movement(lastId(), "SL,ZJE,JXID,KHXQID,BZ"), QStringLiteral("10|70|%1|%2|OK").arg(s1).arg(d1));

    // The prices the display switches let show, each but the last followed by ten blanks.
    const QString head = "商品：螺丝钉子(LSDZ)\n型号：M8\n库位：A1\n库存：20    最小库存：5\n";
    EXPECT_EQ(GoodsText::forSale(goodsRecord(a), session.options), head); // all hidden
    Options all;
    all.Show_LSJ = all.Show_PFJ = all.Show_DBJ = true;
    EXPECT_EQ(GoodsText::forSale(goodsRecord(a), all),
              head + "零售价：12.5          批发价：11          调拨价：10");
    session.options.Show_PFJ = true;
    frmOut out(session, goodsRecord(a));
    EXPECT_EQ(out.findChild<QPlainTextEdit*>("txtSP")->toPlainText(), head + "批发价：11          ");
    EXPECT_EQ(texts(out), QStringList({"1", "12.5", "12.5"})); // one piece at the retail price
    EXPECT_EQ(t2(out, 3)->text(), "0");
    // The demand chosen gives the customer.
    combo(out, "cmbKHXQ")->setCurrentIndex(1);
    type(t2(out, 0), "2");
    click(out, 1);
    EXPECT_EQ(out.result(), QDialog::Accepted);
    EXPECT_EQ(movement(lastId(), "JXID,KHXQID,SL,ZJE"),
              QStringLiteral("%1|%2|2|25").arg(customerOf(d1)).arg(d1));
}

TEST_F(StockFormsTest, EditFormsShowTheRecordAndItsPartners) {
    const qlonglong a = registerItem("螺丝钉子", 3, 10);
    const qlonglong s1 = supplier("永固五金"), s2 = supplier("大华贸易");
    const qlonglong open = demand("张三", "要螺丝"), closed = demand("李四", "已了", true);
    const qlonglong p = firstPurchaseOf(a);
    session.execSql(QStringLiteral("update T_IO set JXID=%1,KHXQID=%2,GZJE=4,BZ='急' where ID=%3")
                        .arg(s2)
                        .arg(closed)
                        .arg(p));
    PurchaseRecord rec = purchaseRecord(p);
    {
        frmInEdit form(session, rec);
        // The stored amount stays, though 3 × 3.33 is 9.99.
        EXPECT_EQ(texts(form), QStringList({"3", "3.33", "10"}));
        EXPECT_EQ(QStringList({t2(form, 3)->text(), t2(form, 4)->text()}), QStringList({"4", "急"}));
        EXPECT_EQ(date(form)->date(), QDate(2009, 1, 9));
        EXPECT_EQ(combo(form, "cmbGYS")->currentData().toLongLong(), s2);
        EXPECT_EQ(combo(form, "cmbKHXQ")->currentIndex(), 0); // settled: not listed
        QSignalSpy reload(&form, &StockForm::purchasesChanged);
        click(form, 1);
        EXPECT_EQ(reload.count(), 1);
        EXPECT_EQ(movement(p, "KHXQID"), "0");
    }
    rec.JXID = s1 + s2 + 5; // a supplier removed since: the blank entry
    {
        frmInEdit form(session, rec);
        EXPECT_EQ(combo(form, "cmbGYS")->currentIndex(), 0);
    }

    MovementFields m = sale(1);
    m.KHXQID = open;
    m.JXID = customerOf(open);
    m.ZJE = 12.5;
    SaleRecord srec = saleRecord(ledger.bookSale(a, m, "x").id);
    frmOutEdit form(session, srec);
    EXPECT_EQ(texts(form), QStringList({"1", "12.5", "12.5"}));
    EXPECT_EQ(combo(form, "cmbKHXQ")->currentData().toLongLong(), open);
    QSignalSpy reload(&form, &StockForm::salesChanged);
    type(t2(form, 0), "2");
    click(form, 1);
    EXPECT_EQ(reload.count(), 1);
    EXPECT_EQ(movement(srec.ID, "JXID,SL"), QStringLiteral("%1|2").arg(customerOf(open)));
}

TEST_F(StockFormsTest, RegistrationFormKeepsOrClearsAndAsksForPartners) {
    supplier("永固五金");
    frmAddWZ form(session);
    form.show();
    QSignalSpy reload(&form, &StockForm::goodsChanged);

    // The name suggests its short code; a typed one replaces it.
    type(t1(form, 0), "螺丝钉子");
    EXPECT_EQ(t1(form, 1)->text(), "LSDZ");
    type(t1(form, 0), "  螺丝'钉子 ");
    type(t1(form, 1), "LS");
    type(t1(form, 4), "5.555");
    type(t2(form, 0), "10");
    type(t2(form, 2), "55");
    combo(form, "cmbGYS")->setCurrentIndex(1);
    form.findChild<QCheckBox*>("Check1")->setChecked(true);
    date(form)->setDate(QDate(2009, 1, 1));
    click(form, 1);
    EXPECT_EQ(reload.count(), 1);
    EXPECT_EQ(form.banner().text(), "新  商  品  注  册  完  成  ！");
    EXPECT_EQ(form.banner().remainingSeconds(), 2);
    EXPECT_EQ(rowsText("select MC,JC from T_TZ"), "螺丝钉子|LS");
    // Check1: kept, written back cleaned and rounded; only the date is today again.
    EXPECT_EQ(
        QStringList({t1(form, 0)->text(), t1(form, 1)->text(), t1(form, 4)->text(), t2(form, 0)->text()}),
        QStringList({"螺丝钉子", "LS", "5.56", "10"}));
    EXPECT_EQ(combo(form, "cmbGYS")->currentIndex(), 1);
    EXPECT_EQ(date(form)->date(), QDate::currentDate());

    form.findChild<QCheckBox*>("Check1")->setChecked(false);
    click(form, 1);
    EXPECT_EQ(reload.count(), 2);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(t1(form, i)->text(), "") << i;
    EXPECT_EQ(t2(form, 0)->text(), "");
    EXPECT_EQ(combo(form, "cmbGYS")->currentIndex(), 0);

    // Buttons 3 and 4 ask for the partner forms and then offer the new entries.
    QObject::connect(&form, &StockForm::supplierFormRequested, [&] { supplier("大华贸易"); });
    QObject::connect(&form, &StockForm::demandFormRequested, [&] { demand("张三", "新需求"); });
    click(form, 3);
    click(form, 4);
    EXPECT_EQ(combo(form, "cmbGYS")->count(), 3);
    EXPECT_EQ(combo(form, "cmbKHXQ")->count(), 2);
    EXPECT_EQ(combo(form, "cmbGYS")->currentIndex(), 0);
}

TEST_F(StockFormsTest, GoodsEditingAndRemoval) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    ASSERT_TRUE(ledger.bookSale(a, sale(2), "x").ok());
    const qlonglong b = registerItem("扳手工具", 10, 50);
    ASSERT_TRUE(ledger.bookSale(b, sale(1), "x").ok());
    session.execSql(QStringLiteral("update T_TZ set JC='MY',XH='M8',LSJ=12.5 where ID=%1").arg(a));
    frmEditWZ form(session, goodsRecord(a));
    form.show();
    EXPECT_EQ(t1(form, 1)->text(), "MY"); // the stored short code, not the suggested one
    EXPECT_EQ(t1(form, 5)->text(), "12.5");

    QSignalSpy reload(&form, &StockForm::goodsChanged);
    type(t1(form, 0), "大螺丝钉");
    EXPECT_EQ(t1(form, 1)->text(), "DLSD");
    type(t1(form, 5), "13.999");
    click(form, 1);
    EXPECT_EQ(reload.count(), 1);
    EXPECT_EQ(form.banner().text(), "保   存   完   成  ！");
    EXPECT_EQ(t1(form, 5)->text(), "14");
    // The stock stays as it was.
    EXPECT_EQ(rowsText(QStringLiteral("select MC,JC,LSJ,ZKC,ZCB,DJ from T_TZ where ID=%1").arg(a)),
              "大螺丝钉|DLSD|14|8|40|5");
    EXPECT_EQ(log().last(), "修改商品信息:大螺丝钉(M8)");
    EXPECT_TRUE(form.isVisible());

    boxes.answers = {false, true};
    click(form, 2);
    ASSERT_EQ(boxes.shown.size(), 1u);
    expectBox(boxes.shown[0], Kind::Question,
              "  该操作将删除该物品以及它所有的出入库记录(不可恢复)  \r\n\r\n     "
              "点击“是”开始删除，点击“否”取消本次操作。",
              "注销商品");
    EXPECT_EQ(count("T_TZ"), 2);
    click(form, 2);
    // Only the item and its own movements go.
    EXPECT_EQ(rowsText("select count(*),min(ID) from T_TZ"), QStringLiteral("1|%1").arg(b));
    EXPECT_EQ(rowsText("select count(*),sum(abs(TZID)) from T_IO"), QStringLiteral("2|%1").arg(2 * b));
    EXPECT_EQ(log().last(), "注销商品:大螺丝钉(M8)");
    expectBox(boxes.shown.back(), Kind::Information, "  注  销  成  功  ！  ", "Vostrel");
    EXPECT_EQ(reload.count(), 2);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

// Refused: the banner near the top; a failing data file: the form's own box. Either way no
// reload, nothing stored, and the form stays with every box as typed.
TEST_F(StockFormsTest, ARefusedOrFailedSaveLeavesEveryBoxAsTyped) {
    const qlonglong a = registerItem("螺丝钉子", 10, 50);
    const SaleRecord sold = saleRecord(ledger.bookSale(a, sale(1), "x").id);
    const auto fill = [](QWidget& f, std::initializer_list<std::pair<QString, QString>> texts) {
        for (const auto& [name, text] : texts)
            child(f, name)->setText(text);
    };
    const auto goodsBoxes = {std::pair<QString, QString>{"Text1(0)", " 螺' "},
                             {"Text1(1)", " L'S "},
                             {"Text1(4)", "5.555"},
                             {"Text1(5)", "2kg"}};
    frmAddWZ add(session), failingAdd(session);
    fill(add, goodsBoxes);
    fill(add, {{"Text2(0)", "2.006"}, {"Text2(4)", " 备'注 "}});
    frmEditWZ edit(session, goodsRecord(a));
    fill(edit, goodsBoxes);
    frmIn in(session, goodsRecord(a)), failingIn(session, goodsRecord(a));
    fill(in, {{"Text2(0)", "0.004"}, {"Text2(4)", " 备'注 "}});
    frmOut out(session, goodsRecord(a));
    date(out)->setDate(QDate(2009, 1, 8));
    fill(out, {{"Text2(3)", "1.006"}, {"Text2(4)", " 备'注 "}});
    type(t1(failingAdd, 0), "扳手工具");
    type(t2(failingIn, 0), "1");
    frmOutEdit failingOutEdit(session, sold);
    session.execNative("CREATE TRIGGER no_log BEFORE INSERT ON T_txt BEGIN SELECT RAISE(ABORT, 'x'); END");
    const QStringList before = DumpFile(dataPath());
    // The form, its refusal or failure, and the box's kind and title (none: the banner).
    const std::tuple<StockForm*, QString, Kind, QString> forms[] = {
        {&add, "商品名称最少4个西文字符, 保存失败！", {}, ""},
        {&edit, "商品名称最少4个西文字符, 保存失败！", {}, ""},
        {&in, "商品数量错误, 保存失败！", {}, ""},
        {&out, "日 期 有 误 , 保 存 失 败 ！", {}, ""},
        {&failingAdd, "   保  存  失  败  ！ ", Kind::Warning, "错误提示"},
        {&failingIn, "   保  存  失  败  ！", Kind::Critical, "提示"},
        {&failingOutEdit, "   保  存  失  败  ！", Kind::Critical, "提示"}};
    for (const auto& [form, text, kind, title] : forms) {
        SCOPED_TRACE(form->metaObject()->className());
        form->show();
        boxes.clear();
        QSignalSpy reload(form, &StockForm::goodsChanged);
        const QStringList typed = boxTexts(*form);
        click(*form, 1);
        if (title.isEmpty()) {
            EXPECT_TRUE(boxes.shown.empty());
            EXPECT_TRUE(form->banner().isVisible());
            EXPECT_EQ(form->banner().text(), text);
        } else {
            ASSERT_EQ(boxes.shown.size(), 1u);
            expectBox(boxes.shown[0], kind, text, title);
        }
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(reload.count(), 0);
        EXPECT_EQ(boxTexts(*form), typed);
    }
    EXPECT_EQ(DumpFile(dataPath()), before);
}
