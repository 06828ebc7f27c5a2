// The statements of the lists, searches and look-ups, run through the Jet
// layer on a small hand-made ledger and checked against the rows Jet gives for them.
#include "core/KeywordSearch.h"
#include "core/Transaction.h"
#include "core/Vb.h"
#include "support/TestFixture.h"

namespace {

// Three customers (one without details), four demands (one of a removed customer), two
// suppliers, four goods items and five movements that keep stock, total cost and unit cost
// consistent:
//   goods 1 苹果: bought 20 for 120, sold 5      -> stock 15, cost 90, unit cost 6
//   goods 2 香蕉: bought 4 for 10, sold 4         -> stock 0, cost 0, unit cost 2.5
//   goods 3 Apple Juice: bought 3 for 10          -> stock 3, cost 10, unit cost 3.333...
//   goods 4 梨子: never moved
void fillLedger(Session& s) {
    Transaction t(s);
    s.execNative(
        "INSERT INTO T_KH (KHMC, KHZL) VALUES ('张三', '老客户'), ('李四', NULL), ('Alice', 'VIP'); "
        "INSERT INTO T_KH_XQ (KHID, RQ, KHXQ, BJ) VALUES (1, '2009-01-09', '要红苹果', 0), (2, "
        "'2009-01-10', '香蕉十斤', -1), (3, '2009-01-09', 'apples', 0), (9, '2008-12-31', '无主需求', 0); "
        "INSERT INTO T_GYS (GYSMC, GYSZL, GHPZ) VALUES ('北方果业', '批发', '苹果'), ('阿里水果', '零售', "
        "'香蕉')");
    auto tz = [&](const QVariantList& values) {
        addRowOf(s, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ", values + QVariantList{false});
    };
    tz({"苹果", "PG", "红富士", "A1", 5, 15, 90, 6, 8, 7, 6.5});
    tz({"香蕉", "XJ", "", "B2", 0, 0, 0, 2.5, 3.5, 3, 2.8});
    tz({"Apple Juice", "AJ", "1L", "C3", 2, 3, 10, 10.0 / 3.0, 5, 4.5, 4});
    tz({"梨子", "LZ", "雪梨", "D4", 0, 0, 0, 0, 2, 1.8, 1.5});
    auto io = [&](const QVariantList& values) {
        addRowOf(s, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ", values);
    };
    io({-1, "2009-1-5", 20, 120, 0, 1, 0, "首批"}); // 1
    io({1, "2009-1-9", 5, 40, 10, 1, 1, ""});       // 2
    io({-2, "2009-1-10", 4, 10, 0, 2, 2, ""});      // 3
    io({2, "2009-2-3", 4, 14, 0, 2, 2, "散装"});    // 4
    io({-3, "2009-2-1", 3, 10, 0, 9, 0, ""});       // 5
    t.commit();
}

// The list statements as the main window and the forms write them.
const QString kDemandsBase = "select * from (SELECT ID, RQ, KHXQ, BJ, KHID, (select KHMC & '(' & KHZL & ')' "
                             "from T_KH where ID=T_KH_XQ.KHID) AS KH FROM T_KH_XQ ) order by RQ desc,KH";
const QString kGoodsBase = "select ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ order by MC,XH";
const QString kSalesCols =
    "ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH from T_TZ where ID=T_IO.TZID) as "
    "SPMC ,(select KHMC & '/' & KHZL from T_KH where ID=T_IO.JXID) as KHZL ,(select KHXQ from T_KH_XQ where "
    "ID=T_IO.KHXQID) as KHXQ  from T_IO where TZID>0 order by RQ desc";
const QString kPurchaseCols =
    "ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH from T_TZ where ID=-T_IO.TZID) "
    "as SPMC,(select GYSMC & '/' & GYSZL & '/' & GHPZ from T_GYS where ID=T_IO.JXID) as GYS,(select KHMC & "
    "'/' & KHZL from T_KH where ID=(select KHID from T_KH_XQ where ID=T_IO.KHXQID)) as KHZL from T_IO where "
    "TZID<0 order by RQ desc";
const QString kSalesBase = "select " + kSalesCols;
const QString kPurchaseBase = "select " + kPurchaseCols;

const QString kDemandFields = "RQ & ',' & KH & ',' & KHXQ";
const QString kGoodsFields = "LSJ & ',' & MC & ',' & JC & ',' & XH  & ','  & KW & ','  & KCmin & ',' &  ZKC ";
const QString kSalesFields =
    "RQ & ',' & SL & ',' & ZJE & ',' & GZJE  & ','  & BZ & ','  & SPMC & ',' &  KHZL  & ',' &  KHXQ";
const QString kPurchaseFields =
    "RQ & ',' & SL & ',' & ZJE & ',' & GZJE  & ','  & BZ & ','  & SPMC & ',' &  GYS  & ',' &  KHZL";

QString search(const QString& base, const QString& fields, const QStringList& keywords) {
    return "select * from (" + base + ") where " + KeywordCondition(fields, keywords.join(','));
}

struct Case {
    const char* name;
    QString query;
    QStringList rows; // each row's values joined by "|"; Null shows as "NULL"
};
Case q(const char* name, const QString& query, const QStringList& rows) {
    return {name, query, rows};
}

const QString kSalesCheck = "select ID,TZID,RQ,SL,ZJE,GZJE,BZ,SPMC,KHZL,KHXQ from (";

const Case kCases[] = {
    // The lists, first view.
    q("Demands", QString(kDemandsBase).replace("SELECT ID", "SELECT top 200 ID"),
      {"2|2009-1-10|香蕉十斤|True|2|李四()", "1|2009-1-9|要红苹果|False|1|张三(老客户)",
       "3|2009-1-9|apples|False|3|Alice(VIP)", "4|2008-12-31|无主需求|False|9|NULL"}),
    q("Goods", "select top 200 ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ order by MC,XH",
      {"4|LZ|梨子|雪梨|D4|0|0|0|2|1.8|1.5", "1|PG|苹果|红富士|A1|5|15|90|8|7|6.5",
       "2|XJ|香蕉||B2|0|0|0|3.5|3|2.8", "3|AJ|Apple Juice|1L|C3|2|3|10|5|4.5|4"}),
    q("Sales", "select top 200 " + kSalesCols,
      {"4|2|2009-2-3|4|14|0|2|2|散装|香蕉/XJ/|李四/|香蕉十斤",
       "2|1|2009-1-9|5|40|10|1|1||苹果/PG/红富士|张三/老客户|要红苹果"}),
    q("Purchases", "select top 200 " + kPurchaseCols,
      {"5|-3|2009-2-1|3|10|0|9|0||Apple Juice/AJ/1L|NULL|NULL",
       "3|-2|2009-1-10|4|10|0|2|2||香蕉/XJ/|阿里水果/零售/香蕉|李四/",
       "1|-1|2009-1-5|20|120|0|1|0|首批|苹果/PG/红富士|北方果业/批发/苹果|NULL"}),

    // Searches: "select * from (" & base & ") where " & condition.
    q("SearchDemandsByDate", search(kDemandsBase, kDemandFields, {"2009-1-9"}),
      {"1|2009-1-9|要红苹果|False|1|张三(老客户)", "3|2009-1-9|apples|False|3|Alice(VIP)"}),
    q("SearchGoodsRetailPrice", search(kGoodsBase, kGoodsFields, {"3.5"}), {"2|XJ|香蕉||B2|0|0|0|3.5|3|2.8"}),
    q("SearchSalesByDate", kSalesCheck + search(kSalesBase, kSalesFields, {"2009-2-3"}) + ")",
      {"4|2|2009-2-3|4|14|0|散装|香蕉/XJ/|李四/|香蕉十斤"}),
    q("SearchPurchasesKeepDateOrder",
      "select ID from (" + search(kPurchaseBase, kPurchaseFields, {"20"}) + ")", {"5", "3", "1"}),
    q("SearchPurchasesSupplier",
      "select ID from (" + search(kPurchaseBase, kPurchaseFields, {"零售", "李四"}) + ")", {"3"}),
    q("DemandFormDefault",
      "select * from (select ID,RQ,KHXQ,BJ,KHID,(select KHMC & '(' & KHZL & ')' from T_KH where "
      "ID=T_KH_XQ.KHID) as KH from T_KH_XQ) order by KH,RQ desc",
      {"4|2008-12-31|无主需求|False|9|NULL", "2|2009-1-10|香蕉十斤|True|2|李四()",
       "1|2009-1-9|要红苹果|False|1|张三(老客户)", "3|2009-1-9|apples|False|3|Alice(VIP)"}),

    // The demand form's combo.
    q("OpenDemandComboWithCustomer",
      "select * from (select ID,KHID,RQ,(select KHMC from T_KH where ID=T_KH_XQ.KHID) as KH,KHXQ from "
      "T_KH_XQ where not BJ) order by RQ desc,KH",
      {"1|1|2009-1-9|张三|要红苹果", "3|3|2009-1-9|Alice|apples", "4|9|2008-12-31|NULL|无主需求"}),

    // The first movement of each goods item, by a sub-select.
    q("ProfitGoodsList",
      "select ID,SP,ZKC,ZCB,RQ from (select ID,(MC & '/' & JC & '/' & XH) as SP,ZKC,ZCB,(select DISTINCT top "
      "1 RQ from T_IO where abs(TZID)=T_TZ.ID order by RQ) as RQ from T_TZ ) order by RQ,ID",
      {"4|梨子/LZ/雪梨|0|0|NULL", "1|苹果/PG/红富士|15|90|2009-1-5", "2|香蕉/XJ/|0|0|2009-1-10",
       "3|Apple Juice/AJ/1L|3|10|2009-2-1"}),
};

class JetStatementsTest : public LedgerFixture, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        fillLedger(session);
    }
};

TEST_P(JetStatementsTest, GivesWhatJetGives) {
    const Case& c = GetParam();
    try {
        EXPECT_EQ(rowsText(c.query, "NULL"), c.rows.join(",")) << c.query.toStdString();
        EXPECT_EQ(session.query(c.query).rowCount(), c.rows.size()); // no value holds a comma
    } catch (const DbError& e) {
        FAIL() << e.text.toStdString() << "\n" << c.query.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Ledger, JetStatementsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
