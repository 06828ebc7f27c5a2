#include "StatsReference.h"

#include "core/Session.h"
#include "core/Vb.h"

#include <algorithm>
#include <cmath>

namespace {

double number(const QVariant& v) {
    return vb::Number(v);
}

} // namespace

ReferenceList ReferenceMonthly(Session& s) {
    // Each month's sums add whole cents, so they are exact.
    const QueryResult months = s.query(QStringLiteral(
        "select RQ1,Sum(round(JEin*100,0))/100 as jin,Sum(round(JEout*100,0))/100 as xiao from (select "
        "ID,iif(TZID>0,ZJE,0) as JEout,iif(TZID>0,0,ZJE) as JEin,format(RQ,'yyyymm') as RQ1,iif(TZID>0,1,-1) "
        "as IO,ZJE from T_IO order by RQ) group by RQ1"));
    ReferenceList out;
    double previousZYL = 0;
    for (int i = 0; i < months.rowCount(); ++i) {
        const QString RQ1 = months.value(i, "RQ1").toString();
        const double JH = number(months.value(i, "jin")), XS = number(months.value(i, "xiao"));
        const QueryResult moves = s.query(
            QStringLiteral("select ID,RQ,TZslIO,JEin,TZ from(select id,RQ,iif(tzid<0,sl,-sl) as TZslIO, "
                           "iif(tzid<0,zje,0) as JEin, abs(TZID) as TZ from T_IO where "
                           "format(RQ,'yyyymm')<='") +
            RQ1 + QStringLiteral("') order by TZ,RQ,ID"));
        double total = 0, quantity = 0, amount = 0, unitCost = 0;
        qlonglong goods = 0;
        for (int r = 0; r < moves.rowCount(); ++r) {
            const qlonglong tz = moves.value(r, "TZ").toLongLong();
            const double slIO = number(moves.value(r, "TZslIO")), jeIn = number(moves.value(r, "JEin"));
            if (r == 0) {
                goods = tz;
                quantity = slIO;
                amount = jeIn;
                if (quantity != 0) unitCost = amount / quantity;
                continue;
            }
            if (tz != goods) {
                total += amount;
                goods = tz;
                quantity = amount = unitCost = 0;
            }
            quantity += slIO;
            if (slIO < 0) {
                amount += unitCost * slIO;
            } else {
                amount += jeIn;
                if (quantity != 0) unitCost = amount / quantity;
            }
        }
        if (moves.rowCount() > 0) total += amount;
        const double KC = vb::Round(total, 2);
        const double YingLi =
            number(s.query(QStringLiteral(
                               "select sum(je) as YingLi from (select iif(tzid>0,-zje,zje) as je from T_IO "
                               "where format(RQ,'yyyymm')<='") +
                           RQ1 + QStringLiteral("')"))
                       .value(0, 0));
        const double ZYL = vb::Round(KC - YingLi, 2);
        const double YL = i == 0 ? ZYL : vb::Round(ZYL - previousZYL, 2);
        previousZYL = ZYL;
        out.rows.push_back({QString::number(i + 1), RQ1, vb::CStr(JH), vb::CStr(XS), vb::CStr(YL),
                            vb::CStr(KC), vb::CStr(ZYL)});
    }
    return out;
}

ReferenceList ReferenceGoods(Session& s) {
    QueryResult goods = s.query(
        QStringLiteral("select ID,SP,ZKC,ZCB,RQ from (select ID,(MC & '/' & JC & '/' & XH) as "
                       "SP,ZKC,ZCB,(select DISTINCT top 1 "
                       "RQ from T_IO where abs(TZID)=T_TZ.ID order by RQ) as RQ from T_TZ ) order by RQ,ID"));
    // Items without movements (no date) go after all dated ones, still by ID.
    std::stable_partition(goods.rows.begin(), goods.rows.end(),
                          [&](const std::vector<QVariant>& row) { return !row[4].isNull(); });
    ReferenceList out;
    qint64 totalCents = 0;
    for (int i = 0; i < goods.rowCount(); ++i) {
        const QVariant rq = goods.value(i, "RQ");
        const double ZKC = vb::Round(number(goods.value(i, "ZKC")), 2);
        const double ZCB = vb::Round(number(goods.value(i, "ZCB")), 2);
        const QueryResult sums = s.query(
            QStringLiteral("select sum(SLout1) as SLout,sum(JE1) as JE from(select iif(TZID>0,SL,0) as "
                           "SLout1,iif(TZID>0,ZJE,-ZJE) as JE1 from T_IO where abs(TZID)=") +
            QString::number(goods.value(i, "ID").toLongLong()) + QStringLiteral(")"));
        const double SLout = vb::Round(number(sums.value(0, "SLout")), 2);
        const double YL = vb::Round(number(sums.value(0, "JE")) + ZCB, 2);
        totalCents += std::llround(YL * 100);
        const QString date =
            rq.isNull()
                ? QString()
                : vb::DateText(rq.typeId() == QMetaType::QDateTime ? rq.toDateTime().date() : rq.toDate());
        out.rows.push_back({QString::number(i + 1), goods.value(i, "SP").toString(), date, vb::CStr(ZKC),
                            vb::CStr(SLout), vb::CStr(YL)});
    }
    out.total = QStringLiteral("......毛 利 合 计 ：  ") + vb::CStr(double(totalCents) / 100) +
                QStringLiteral(" (元)");
    return out;
}
