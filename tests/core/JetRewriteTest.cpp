// The rewriter only makes statements faster: every statement gives the same rows with it and
// without it. Beside each shape it rewrites are statements that look alike but must stay as
// they are, most of them on rows where the rewritten form would give other rows.
#include "core/jet/Translator.h"
#include "support/TestFixture.h"

#include <cmath>

namespace {

class JetRewriteTest : public LedgerFixture {
protected:
    QString rows(const std::string& sql) { return nativeRows(session, QString::fromStdString(sql)); }
};

const QString kSales = "select * from (select ID,TZID,JXID,RQ,(select MC & '/' & JC from T_TZ where "
                       "ID=T_IO.TZID) as SPMC,(select KHMC from T_KH where ID=T_IO.JXID) as KH from T_IO "
                       "where TZID>0 order by RQ desc) where ";
const QString kSearch = "InStr(RQ & ',' & SPMC & ',' & KH, '苹果') > 0";

TEST_F(JetRewriteTest, RewrittenOrNotTheRowsAreTheSame) {
    // The last movement: abs(Null) = -1.
    session.execNative("INSERT INTO T_TZ (MC, JC, XH, BJ) VALUES ('苹果', 'PG', '红富士', 0), ('香蕉', 'XJ', "
                       "'', 0), ('苹果汁', "
                       "'AJ', '1L', 0); INSERT INTO T_KH (KHMC) VALUES ('张三'), ('苹果园'); INSERT INTO "
                       "T_IO (TZID, RQ, SL, "
                       "JXID, BZ) VALUES (-1, '2009-01-05', 20, 1, '首批'), (1, '2009-01-09', 5, 2, '张三'), "
                       "(-2, '2009-01-10', "
                       "4, 2, NULL), (2, '2009-02-03', 4, 1, '散装'), (3, '2009-02-03', 1.5, 9, 'e,x'), "
                       "(NULL, '2009-03-01', 1, "
                       "-1, NULL)");
    // What the rewritten statement shows; null: not rewritten; "!x": rewritten, but without x.
    const struct {
        QString sql;
        const char* shows;
    } cases[] = {
        // The order of a derived table stated around it.
        {"select * from (select ID, RQ, BZ from T_IO order by RQ desc, ID) where ID > 1",
         R"(WHERE ("q"."ID" > 1) ORDER BY "q"."RQ" DESC, "q"."ID")"},
        {"select * from (select ID, RQ as D from T_IO order by D desc, ID)", R"(ORDER BY "q"."D" DESC)"},
        {"select * from (select top 3 ID, RQ from T_IO order by RQ desc, ID) where ID > 1", nullptr},
        {"select * from (select ID, RQ from T_IO order by RQ, ID) order by ID desc", nullptr},
        {"select count(*), sum(SL) from (select SL, RQ from T_IO order by RQ)", nullptr},
        {"select RQ, count(*) from (select RQ from T_IO order by RQ desc) group by RQ", nullptr},
        {"select * from (select ID, SL from T_IO order by SL * -1, ID) where ID > 0", nullptr},
        {"select * from (select ID from T_IO order by RQ desc, ID)", nullptr},
        // abs(x) = y where a Null condition and a false one mean the same.
        {"select ID from T_IO where abs(TZID) = 2", "IN (2, -2)"},
        {"select ID from T_IO where abs(TZID) = JXID and SL > 0", R"(IN ("T_IO"."JXID", (- "T_IO"."JXID")))"},
        {"select ID, (select count(*) from T_IO where abs(TZID) = T_TZ.ID) from T_TZ", R"((- "T_TZ"."ID"))"},
        {"select ID from T_IO where not (abs(TZID) = JXID)", nullptr},
        {"select ID from T_IO where (abs(TZID) = JXID) xor (SL > 0)", nullptr},
        {"select ID, abs(TZID) = JXID from T_IO", nullptr},
        {"select ID from T_IO where abs(TZID) > 1 or abs(BZ) = 0", nullptr},
        {"select ID from T_IO where abs(TZID) = (select max(ID) from T_TZ)", nullptr},
        // InStr(a & ',' & b, 'k') > 0 part by part, leaving out what cannot show the keyword.
        {"select ID from T_IO where InStr(RQ & ',' & SL & ',' & BZ, '2009-2') > 0", "coalesce(("},
        {"select ID from T_IO where InStr(RQ & ',' & SL & ',' & BZ, '散') > 0",
         R"(coalesce((jet_instr("T_IO"."BZ", '散') > 0), 0))"},
        {"select ID from T_IO where InStr(RQ & ',' & SL, '散') > 0", "WHERE 0"},
        {"select ID, InStr(BZ & '/' & TZID, 'x') > 0, not (0 < InStr(BZ & '/' & TZID, 'X')), InStr(BZ & '/' "
         "& "
         "TZID, '2') <> 0 from T_IO",
         "coalesce(("},
        {"select ID from T_IO where InStr(BZ & ',' & SL, '装,4') > 0", nullptr},
        {"select ID from T_IO where InStr(BZ & SL, '装4') > 0", nullptr},
        {"select ID from T_IO where InStr(1, BZ & ',' & SL, '装') > 0", nullptr},
        {"select ID from T_IO where InStr(BZ & ',' & SL, '散') > 1 or InStr(BZ & ',' & SL, '散') = 0",
         nullptr},
        {"select ID from T_IO where InStr(BZ & ',' & SL, BZ) > 0 or InStr(BZ & ',' & SL, '') > 0", nullptr},
        // Names looked up by a key the view also shows.
        {kSales + kSearch, R"("q"."TZID" IN (SELECT "T_TZ"."ID" FROM "T_TZ" WHERE)"},
        {kSales + QString(kSearch).replace("'苹果'", "'张'"), R"("q"."JXID" IN (SELECT "T_KH"."ID")"},
        {QString(kSales).replace("ID,TZID,", "ID,") + kSearch, "!SELECT \"T_TZ\".\"ID\" FROM"},
        {QString(kSales).replace("ID=T_IO.TZID", "ID=T_IO.TZID+0") + kSearch, "!SELECT \"T_TZ\".\"ID\" FROM"},
        {QString(kSales).replace("MC & '/' & JC from", "top 1 MC & '/' & JC from") + kSearch,
         "!SELECT \"T_TZ\".\"ID\" FROM"},
        {QString(kSales).replace("'/' & JC", "'/' & T_IO.BZ") + kSearch, "!SELECT \"T_TZ\".\"ID\" FROM"},
        {QString(kSales).replace("ID=T_IO.JXID", "KHMC=T_IO.BZ") + QString(kSearch).replace("'苹果'", "'张'"),
         "!SELECT \"T_KH\".\"ID\" FROM"},
    };
    jet::Translator fast(session.catalog()), plain(session.catalog(), false);
    for (const auto& c : cases) {
        const std::string rewritten = fast.translate(c.sql).sql, asIs = plain.translate(c.sql).sql;
        const QString shows = c.shows ? QString::fromUtf8(c.shows) : QString();
        EXPECT_EQ(rewritten != asIs, c.shows != nullptr) << rewritten;
        if (shows.startsWith('!'))
            EXPECT_FALSE(QString::fromStdString(rewritten).contains(shows.mid(1))) << rewritten;
        else
            EXPECT_TRUE(QString::fromStdString(rewritten).contains(shows)) << rewritten;
        EXPECT_EQ(rows(rewritten), rows(asIs)) << c.sql.toStdString();
    }
}

// Each part of a joined text is searched on its own only where a keyword cannot span two parts
// and the part's text can show it: numbers in E notation, "-Inf", Booleans, dates with a time,
// Nulls, and names looked up by a key.
TEST_F(JetRewriteTest, KeywordsFoundPartByPartAreThoseOfTheJoinedText) {
    session.execSql("CREATE TABLE T_Mix (ID COUNTER, N Long, D Double, Day DateTime, Ok YesNo, A String, B "
                    "String, L Long)");
    session.execSql("CREATE TABLE T_Nm (ID COUNTER, P String, Q String, W DateTime, F YesNo)");
    const QVariant null;
    addRowOf(session, "T_Nm", "P,Q,W,F", {"电器", null, "2019-1-9", true});
    addRowOf(session, "T_Nm", "P,Q,W,F", {null, "ab", null, false});
    const QString mix = "N,D,Day,Ok,A,B,L";
    addRowOf(session, "T_Mix", mix, {null, null, null, null, null, null, null});
    addRowOf(session, "T_Mix", mix, {-12, -0.5, "2019-1-9", true, "xa", "bX", 1});
    addRowOf(session, "T_Mix", mix,
             {2147483647, 1.5e20, QDateTime(QDate(2019, 10, 19), QTime(8, 5, 3)), false, "1", "2", 2});
    addRowOf(session, "T_Mix", mix, {0, 1.0 / 3, "2009-12-31", null, "电,子", "Abc", 3});
    addRowOf(session, "T_Mix", mix, {7, -HUGE_VAL, null, true, "", "", null});
    const QString chain = "N & ',' & D & ',' & Day & ',' & Ok & ',' & A & '/' & B & ','";
    // Names looked up by the key, written either way round and shown under another name; PA and
    // PN are not of that kind.
    const QString lookedUp =
        "select * from (select ID, L as Nm, N, A, (select P & '/' & Q from T_Nm where ID=T_Mix.L) as PQ, "
        "(select W from T_Nm where T_Mix.L=T_Nm.ID) as W, (select F from T_Nm where ID=L) as F, (select P & "
        "A "
        "from T_Nm where ID=L) as PA, (select P from T_Nm where ID=T_Mix.ID+0) as PN from T_Mix order by N "
        "desc) where ";
    const QString names = "Nm & ',' & N & ',' & A & ',' & PQ & ',' & W & ',' & F & ',' & PA & ',' & PN";
    const QStringList statements = {"select ID from T_Mix where InStr(" + chain + ", '%1') > 0",
                                    "select ID from T_Mix where not (0 < InStr(" + chain + ", '%1'))",
                                    lookedUp + "InStr(" + names + ", '%1') <> 0"};
    jet::Translator fast(session.catalog()), plain(session.catalog(), false);
    for (const QString k : {"e,x", "1/2", "UE", "alse", "E+2", "nf", "-0.5", "333", "19", "8:05", "电子",
                            "电器", "ab", "a/", "2147483647,"}) {
        for (const QString& sql : statements) {
            const QString statement = sql.arg(k);
            const std::string rewritten = fast.translate(statement).sql,
                              asIs = plain.translate(statement).sql;
            const QString shown = rows(asIs);
            if (!k.contains(',') && !k.contains('/')) { // else it may span two parts
                EXPECT_NE(rewritten, asIs) << statement.toStdString();
            }
            EXPECT_EQ(rows(rewritten), shown) << statement.toStdString();
            if (sql == statements[0]) { // every keyword but 电子 (split by a comma) and 电器 is in T_Mix
                EXPECT_EQ(shown.isEmpty(), k.startsWith("电")) << statement.toStdString();
            }
        }
    }
}

} // namespace
