// Jet's meaning of the constructs the program's statements use, each checked where a
// translation that merely looks right would give SQLite's meaning instead.
#include "core/Transaction.h"
#include "core/Vb.h"
#include "core/jet/PinyinCollation.h"
#include "core/jet/Translator.h"
#include "core/jet/ValueText.h"
#include "support/TestFixture.h"

#include <QCollator>
#include <QFile>
#include <cstring>
#include <random>
#include <sqlite3.h>

namespace {

class JetSemanticsTest : public LedgerFixture {
protected:
    // The values as the program shows them, Null as "NULL".
    QString shown(const QString& sql) { return rowsText(sql, "NULL"); }
    // The values as SQLite stores them.
    QString raw(const char* sql) { return nativeRows(session, sql); }
    // How many rows of the table meet each condition, "," between.
    QString counts(const QString& table, const QStringList& conditions) {
        QStringList n;
        for (const QString& c : conditions)
            n << scalar("select count(*) from " + table + " where " + c).toString();
        return n.join(',');
    }
    QString error(const QString& sql) {
        try {
            session.execSql(sql);
        } catch (const DbError& e) {
            return e.text;
        }
        return {};
    }
    void goods(const char* mc, const char* xh = "", double zkc = 0, double zcb = 0) {
        session.addRow("T_TZ",
                       {{"MC", mc}, {"XH", xh}, {"ZKC", zkc}, {"ZCB", zcb}, {"DJ", 0}, {"BJ", false}});
    }
};

TEST_F(JetSemanticsTest, ConcatenationFollowsNullRulesAndCStr) {
    EXPECT_EQ(shown("select Null & 'x', Null & Null, 12.0 & '', 0.5 & '', 1E+15 & '', 1/3 & '', -2.5 & '', "
                    "True & '', 'a' & 7 & Null & 'b'"),
              "x|NULL|12|0.5|1E+15|0.333333333333333|-2.5|True|a7b");
    EXPECT_EQ(scalar("select 12.0 & ''").typeId(), QMetaType::QString);

    // Columns take their type's text: a Date column without leading zeros, a Double as CStr.
    session.addRow("T_IO",
                   {{"TZID", 1}, {"RQ", "2009-1-9"}, {"SL", 12.0}, {"ZJE", 0.1 + 0.2}, {"BZ", QVariant()}});
    session.addRow("T_IO",
                   {{"TZID", 2}, {"RQ", QDateTime(QDate(2009, 10, 19), QTime(8, 5, 3))}, {"SL", 2.5}});
    const QueryResult io = session.query("select RQ & '|' & SL & '|' & ZJE & '|' & BZ from T_IO order by ID");
    EXPECT_EQ(io.value(0, 0).toString(), "2009-1-9|12|0.3|");
    EXPECT_EQ(io.value(1, 0).toString(), "2009-10-19 8:05:03|2.5||");
    session.addRow("T_KH_XQ", {{"KHID", 1}, {"BJ", true}});
    EXPECT_EQ(scalar("select BJ & '' from T_KH_XQ").toString(), "True");
}

TEST_F(JetSemanticsTest, InStrIgnoresCaseAndCountsCharactersAndOtherFunctionsKeepTheirVbMeaning) {
    EXPECT_EQ(shown("select InStr('xABcx','abc'), InStr('中文ABC','b'), InStr('abc','z'), InStr('',''), "
                    "InStr('abc',''), InStr(Null,'a'), InStr('a',Null), InStr(12.5,'.5'), InStr('CAFÉ','é'), "
                    "InStr(4,'abcabc','C'), InStr('ÉÀ中xAB','ab')"),
              "2|4|0|0|1|NULL|NULL|3|4|6|5");
    // A date searched as the text the operator sees.
    session.addRow("T_IO", {{"TZID", 1}, {"RQ", "2009-1-9"}});
    EXPECT_EQ(scalar("select count(*) from T_IO where InStr(RQ & ',','2009-1-9,')>0").toLongLong(), 1);
    EXPECT_EQ(scalar("select count(*) from T_IO where InStr(RQ,'2009-01')>0").toLongLong(), 0);

    EXPECT_EQ(
        shown("select iif(Null,'a','b'), iif(1>0,'a','b'), nz(Null,0), len('苹果ab'), left('苹果ab',1), "
              "right('苹果ab',3), mid('苹果ab',2,2), year(#2009-1-9#), month('2009-10-9'), day(#2009-1-9#), "
              "clng(2.5), clng(3.5), val('12kg'), cstr(0.5), isnull(Null), '苹果汁' like '苹果*', 'ABC' "
              "like 'a?c', 'a1' like 'a#', 'b' like '[a-c]', 'd' like '[!a-c]', 'abc' like 'b*', '苹果汁' "
              "like '%果_', format(1234.5,'#,##0.00'), format(0.5,'0%'), '<' & trim('  a  ') & '>'"),
        "b|a|0|4|苹|果ab|果a|2009|10|9|2|4|12|0.5|True|True|True|True|True|True|False|True|1,234.50|50%|<a>");
}

TEST_F(JetSemanticsTest, RoundingDivisionAndArithmetic) {
    EXPECT_EQ(shown("select round(0.125,2), round(2.675,2), round(1.005,2), round(3.825,2), round(12.345,2), "
                    "round(2.5), 7/2, 7\\2, 7 mod 3, -7 mod 3, abs(-3), 2^3"),
              "0.12|2.68|1|3.82|12.34|2|3.5|3|1|-1|3|8");

    // Integer columns divide as numbers, not as integers; a zero divisor is an error, never a Null.
    session.addRow("T_IO", {{"TZID", 7}, {"JXID", 2}, {"KHXQID", 0}});
    EXPECT_DOUBLE_EQ(scalar("select TZID/JXID from T_IO").toDouble(), 3.5);
    EXPECT_TRUE(error("select TZID/KHXQID from T_IO").contains("除数为零"));
    EXPECT_TRUE(scalar("select TZID/Null from T_IO").isNull());
    EXPECT_FALSE(error("select 1 mod 0").isEmpty());
    // \ and Mod work on Longs: beyond them the result overflows, never the program.
    for (const char* big : {"select 1e300 \\ 1", "select (-2147483647-1) \\ -1", "select 5 mod 3000000000"})
        EXPECT_TRUE(error(big).contains("数值溢出")) << big;
}

TEST_F(JetSemanticsTest, AFailingUpdateChangesNothing) {
    goods("甲", "", 10, 60);
    goods("乙", "", 0, 5); // no stock: the unit cost cannot be computed
    EXPECT_TRUE(error("update T_TZ set ZKC=ZKC+1, DJ=ZCB/ZKC").contains("除数为零"));
    EXPECT_EQ(shown("select sum(ZKC), sum(DJ) from T_TZ"), "10|0");
    {
        Transaction t(session); // inside a transaction the failed statement is undone alone
        session.execSql("update T_TZ set ZKC=ZKC+1 where ID=1");
        EXPECT_FALSE(error("update T_TZ set DJ=ZCB/ZKC").isEmpty());
        t.commit();
    }
    EXPECT_EQ(shown("select sum(ZKC), sum(DJ) from T_TZ"), "11|0");
}

TEST_F(JetSemanticsTest, BooleansAreMinusOneAndNotToggles) {
    session.addRow("T_KH_XQ", {{"KHID", 1}, {"BJ", false}});
    session.addRow("T_KH_XQ", {{"KHID", 2}, {"BJ", true}});
    session.execNative("INSERT INTO T_KH_XQ (KHID, BJ) VALUES (3, 1)"); // written by another program
    EXPECT_EQ(raw("select BJ from T_KH_XQ order by ID"), "0,-1,1");
    // Any non-zero value reads True, and its Not is False.
    EXPECT_EQ(counts("T_KH_XQ", {"BJ=True", "BJ<>False", "not BJ"}), "2,2,1");
    EXPECT_EQ(scalar("select BJ from T_KH_XQ where ID=3").typeId(), QMetaType::Bool);
    session.execSql("update T_KH_XQ set bj=not bj");
    EXPECT_EQ(raw("select BJ from T_KH_XQ order by ID"), "-1,0,0");
    session.execSql("update T_KH_XQ set BJ=(KHID>0) where id=3");
    session.execSql("insert into T_KH_XQ (KHID,BJ) values (4, 5)");
    EXPECT_EQ(raw("select BJ from T_KH_XQ order by ID"), "-1,0,-1,-1");
}

TEST_F(JetSemanticsTest, OrderingGroupingTopAndSums) {
    for (const char* name : {"张三", "北京", "阿里", "bob", "Alice", "carl", "Bob2"})
        session.addRow("T_KH", {{"KHMC", name}});
    EXPECT_EQ(rowsText("select KHMC from T_KH order by KHMC"),
              "阿里,北京,张三,Alice,bob,Bob2,carl"); // pinyin, then letters without regard to case
    // Without an order the rows come as entered, though an index on the names could serve them.
    EXPECT_EQ(scalar("select top 1 KHMC from T_KH").toString(), "张三");
    EXPECT_EQ(counts("T_KH", {"KHMC='ALICE'", "KHMC<'北'"}), "1,1");

    // Groups come back in the order of their keys even when entered out of order.
    for (const char* rq : {"2010-3-1", "2009-12-5", "2010-1-7", "2009-12-31", "2010-3-2"})
        session.addRow("T_IO", {{"TZID", 1}, {"RQ", rq}, {"ZJE", 10}});
    EXPECT_EQ(rowsText("select format(RQ,'yyyymm') as M, count(*) as N, sum(ZJE) as S from T_IO group by "
                       "format(RQ,'yyyymm')"),
              "200912|2|20,201001|1|10,201003|2|20");
    EXPECT_EQ(rowsText("select sum(ZJE), count(*) from T_IO where TZID=99", "NULL"), "NULL|0");
    // Ties beyond the row count are not added.
    EXPECT_EQ(session.query("select top 1 ID from T_IO order by TZID").rowCount(), 1);
}

TEST_F(JetSemanticsTest, DatesComparedAndWrittenAsDates) {
    for (const char* rq : {"'2009-1-9'", "#1/20/2009#", "'2009-10-2'"})
        session.execSql(QString("insert into T_IO (TZID,RQ) values (1,%1)").arg(rq));
    EXPECT_EQ(raw("select RQ from T_IO order by ID"), "2009-01-09,2009-01-20,2009-10-02");
    EXPECT_EQ(counts("T_IO", {"RQ>='2009-1-10'", "RQ<'2009-1-10'", "RQ='2009-1-9'",
                              "RQ between '2009-1-1' and '2009-1-31'"}),
              "2,1,1,2");
    session.execSql("update T_IO set RQ='2009-2-3' where ID=3");
    session.execSql("update T_IO set RQ=BZ where ID=2"); // Null stays Null
    EXPECT_EQ(raw("select RQ from T_IO order by ID"), "2009-01-09,NULL,2009-02-03");
    EXPECT_EQ(scalar("select RQ from T_IO where ID=1").toDate(), QDate(2009, 1, 9));
    EXPECT_FALSE(error("select * from T_IO where RQ>'2009-13-1'").isEmpty());
    EXPECT_FALSE(error("update T_IO set RQ='next week'").isEmpty());
    // A number of days beyond the year 9999 is no date.
    for (const char* far : {"select cdate(1e300)", "select format(-1e300,'yyyy')"})
        EXPECT_TRUE(error(far).contains("不是有效的日期")) << far;
    // A zero character inside a text is kept, not the end of the statement.
    const QString zero(QChar(0));
    EXPECT_EQ(
        scalar("select InStr('xa" + zero + "b', 'a" + zero + "') & InStr('xa" + zero + "b', 'b')").toString(),
        "24");

    session.execSql("Insert into T_txt (RQ,cc) values(now(),'x')");
    // The current local time.
    EXPECT_LT(std::abs(scalar("select RQ from T_txt").toDateTime().secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_EQ(scalar("select format(#2009-1-9 08:05:03#,'yyyy-mm-dd hh:mm:ss')").toString(),
              "2009-01-09 08:05:03");
    EXPECT_EQ(scalar("select format(#2009-1-9 08:05:03#,'yy/m/d h:n:s')").toString(), "09-1-9 8:5:3");
}

TEST_F(JetSemanticsTest, NamesResultsAndTypes) {
    session.execSql("insert into t_kh_xq (khid,rq,khxq,bj) values (5,'2009-1-9','x',True)");
    const QueryResult r = session.query("select * from (select id, RQ, BJ as Done, KHXQ & '!' from T_KH_XQ)");
    EXPECT_EQ(r.columns.join(","), "id,RQ,Done,Expr1000");
    EXPECT_EQ(r.value(0, 1).typeId(), QMetaType::QDate);
    EXPECT_EQ(r.value(0, 2).typeId(), QMetaType::Bool);

    // An AutoNumber is never used twice, also in a table made by the program.
    session.execSql("CREATE TABLE T_Extra (ID COUNTER, Name String, N Long, Day DateTime, Ok YesNo)");
    session.execSql("insert into T_Extra (Name,Day,Ok) values ('a','2009-1-9',True)");
    session.execSql("insert into T_Extra (Name) values ('b')");
    session.execSql("delete from T_Extra where Name='b'");
    session.execSql("insert into T_Extra (Name) values ('c')");
    EXPECT_EQ(scalar("select ID from T_Extra where Name='c'").toLongLong(), 3);
    EXPECT_EQ(scalar("select Day from t_extra where Ok").toDate(), QDate(2009, 1, 9));
    EXPECT_FALSE(error("CREATE TABLE t_extra (ID COUNTER)").isEmpty());
    session.execSql("DROP TABLE T_Extra");
    EXPECT_FALSE(session.catalog().hasTable("T_Extra"));
}

TEST_F(JetSemanticsTest, JunkIsRefusedWithAReadableMessage) {
    const struct {
        const char* sql;
        const char* says;
    } junk[] = {
        {"selec * from T_TZ", "第 1 个字符"},
        {"select * from T_None", "T_None"},
        {"select NoSuch from T_TZ", "NoSuch"},
        {"select MC from T_TZ where", "语句不完整"},
        {"select MC from T_TZ where MC='abc", "引号"},
        {"select Nonsense(MC) from T_TZ", "Nonsense"},
        {"select ID from T_TZ, T_IO", "ID"},
        {"update T_TZ set Nope=1", "Nope"},
        {"insert into T_KH (KHMC,KHZL) values ('a')", "字段"},
        {"delete from T_TZ where ID=1 garbage", "结束"},
        {"select (select ID, MC from T_TZ) from T_IO", "子查询"},
    };
    for (const auto& j : junk) {
        const QString message = error(QString::fromUtf8(j.sql));
        EXPECT_TRUE(message.contains(QString::fromUtf8(j.says))) << j.sql << " -> " << message.toStdString();
    }
    // Deep nesting is an error, not a crash.
    EXPECT_FALSE(error("select " + QString(100000, '(')).isEmpty());
    EXPECT_FALSE(error("select " + QString(100000, '-') + "1").isEmpty());
    EXPECT_FALSE(error("select 1" + QString("+1").repeated(20000)).isEmpty());
    // Nothing of a refused statement is executed.
    goods("甲");
    EXPECT_FALSE(error("delete from T_TZ where NoSuch=1").isEmpty());
    EXPECT_EQ(scalar("select count(*) from T_TZ").toLongLong(), 1);
}

TEST_F(JetSemanticsTest, FirstViewsUseTheNameIndexesRebuiltWhenTheCollationChanged) {
    // A file last written on a system whose collation ordered names the other way round.
    session.close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(dataPath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    auto reversed = [](void*, int na, const void* a, int nb, const void* b) {
        const int r = std::memcmp(a, b, size_t(std::min(na, nb)));
        return r ? -r : nb - na;
    };
    sqlite3_create_collation(db, "PINYIN", SQLITE_UTF8, nullptr, reversed);
    ASSERT_EQ(sqlite3_exec(db,
                           "INSERT INTO T_KH (KHMC) VALUES ('阿里'); INSERT INTO T_KH (KHMC) VALUES "
                           "('张三'); INSERT INTO T_KH (KHMC) VALUES ('北京'); PRAGMA user_version=7;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    session.open(dataPath());
    EXPECT_EQ(rowsText("select top 200 ID,KHMC,KHZL from T_KH order by KHMC"), "1|阿里|,3|北京|,2|张三|");
    EXPECT_EQ(raw("PRAGMA user_version"), QString::number(jet::collationFingerprint()));
    EXPECT_EQ(raw("PRAGMA integrity_check"), "ok");

    const char* statements[] = {
        "select top 200 ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ order by MC,XH",
        "select top 200 ID,GYSMC,GYSZL,GHPZ from T_GYS order by GYSMC",
        "select top 200 ID,KHMC,KHZL from T_KH order by KHMC"};
    jet::Translator translator(session.catalog());
    for (const char* s : statements) {
        const QString details = raw(("EXPLAIN QUERY PLAN " + translator.translate(s).sql).c_str());
        EXPECT_TRUE(details.contains("USING INDEX")) << details.toStdString();
        EXPECT_FALSE(details.contains("TEMP B-TREE")) << details.toStdString();
    }
}

// The texts written straight from SQLite's values are those of the program's own conversions.
TEST(JetValueText, FastNumberAndDateTextsAreCStrAndDateTimeText) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<long long> cents(-10'000'000'000LL, 10'000'000'000LL);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    for (int i = 0; i < 20000; ++i) {
        for (double v : {double(cents(rng)) / 100.0, any(rng), double(cents(rng)) / 1000.0, 1.0 / (i + 1)}) {
            std::string fast;
            jet::appendNumberText(fast, v);
            ASSERT_EQ(fast, vb::CStr(v).toStdString()) << v;
        }
        const QDateTime dt(QDate(1990, 1, 1).addDays(int(rng() % 20000)),
                           i % 2 ? QTime(0, 0) : QTime(int(rng() % 24), int(rng() % 60), int(rng() % 60)));
        const std::string iso = jet::isoText(dt).toStdString();
        std::string fast;
        jet::appendDateText(fast, iso.data(), int(iso.size()));
        ASSERT_EQ(fast, vb::DateTimeText(dt).toStdString()) << iso;
    }
}

TEST(JetValueText, AsciiOrderIsTheCollatorsOrder) {
    // Pure ASCII texts skip the collator and other texts compare cached sort keys; both must
    // sort exactly as the collator does.
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    PinyinCollation pinyin;
    std::mt19937 rng(11);
    // Control characters are ignored by the collator; letters of both cases; punctuation.
    const QStringList alphabet =
        QString(" -_.,/()0123456789aAbBzZ\t'!#\x01\x1b\x7f").split("", Qt::SkipEmptyParts) +
        QStringList{"阿", "北", "张", "é"};
    auto word = [&](bool ascii) {
        QString w;
        for (int n = int(rng() % 6); n >= 0; --n) {
            const QString& c = alphabet[int(rng() % alphabet.size())];
            w += ascii && c.toUtf8().size() > 1 ? QStringLiteral("x") : c;
        }
        return w.toStdString();
    };
    auto sign = [](int x) { return (x > 0) - (x < 0); };
    for (int i = 0; i < 20000; ++i) {
        const std::string a = word(i % 2), b = word(i % 2);
        ASSERT_EQ(sign(pinyin.compare(a, b)),
                  sign(collator.compare(QString::fromStdString(a), QString::fromStdString(b))))
            << "'" << a << "' vs '" << b << "'";
    }
}

} // namespace
