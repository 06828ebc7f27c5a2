#include "mainwindow/ListViews.h"

#include "core/KeywordSearch.h"
#include "core/Vb.h"

#include <algorithm>
#include <array>

namespace listviews {

namespace {

const std::array<QString, kTabCount> kCaptions = {QStringLiteral("客户需求"), QStringLiteral("供货商"),
                                                  QStringLiteral("库存台账"), QStringLiteral("销售记录"),
                                                  QStringLiteral("进货记录")};

const std::array<QString, kTabCount> kDefaultStatements = {
    // The 200 latest demands (by date, then the latest entered), so that a new demand always
    // shows; a plain "top 200" of the table would keep showing the 200 first ever entered.
    QStringLiteral(
        "select * from (SELECT ID, RQ, KHXQ, BJ, KHID, (select KHMC & '(' & KHZL & ')' from T_KH "
        "where ID=T_KH_XQ.KHID) AS KH FROM T_KH_XQ where ID in (select top 200 ID from T_KH_XQ order "
        "by RQ desc, ID desc)) order by RQ desc,KH"),
    QStringLiteral("select top 200 ID,GYSMC,GYSZL,GHPZ from T_GYS order by GYSMC"),
    QStringLiteral("select top 200 ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ order by MC,XH"),
    QStringLiteral("select top 200 ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH "
                   "from T_TZ where ID=T_IO.TZID) as SPMC ,(select KHMC & '/' & KHZL from T_KH where "
                   "ID=T_IO.JXID) as KHZL ,(select KHXQ from T_KH_XQ where ID=T_IO.KHXQID) as KHXQ  from "
                   "T_IO where TZID>0 order by RQ desc"),
    QStringLiteral("select top 200 ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH "
                   "from T_TZ where ID=-T_IO.TZID) as SPMC,(select GYSMC & '/' & GYSZL & '/' & GHPZ from "
                   "T_GYS where ID=T_IO.JXID) as GYS,(select KHMC & '/' & KHZL from T_KH where ID=(select "
                   "KHID from T_KH_XQ where ID=T_IO.KHXQID)) as KHZL from T_IO where TZID<0 order by RQ "
                   "desc")};

const std::array<QString, kTabCount> kBaseStatements = {
    QStringLiteral("select * from (SELECT ID, RQ, KHXQ, BJ, KHID, (select KHMC & '(' & KHZL & ')' from T_KH "
                   "where ID=T_KH_XQ.KHID) AS KH FROM T_KH_XQ ) order by RQ desc,KH"),
    QStringLiteral("select ID,GYSMC,GYSZL,GHPZ from T_GYS order by GYSMC"),
    QStringLiteral("select ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ order by MC,XH"),
    QStringLiteral("select ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH from T_TZ "
                   "where ID=T_IO.TZID) as SPMC ,(select KHMC & '/' & KHZL from T_KH where ID=T_IO.JXID) as "
                   "KHZL ,(select KHXQ from T_KH_XQ where ID=T_IO.KHXQID) as KHXQ  from T_IO where TZID>0 "
                   "order by RQ desc"),
    QStringLiteral("select ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ,(select MC & '/' & JC & '/' & XH from T_TZ "
                   "where ID=-T_IO.TZID) as SPMC,(select GYSMC & '/' & GYSZL & '/' & GHPZ from T_GYS where "
                   "ID=T_IO.JXID) as GYS,(select KHMC & '/' & KHZL from T_KH where ID=(select KHID from "
                   "T_KH_XQ where ID=T_IO.KHXQID)) as KHZL from T_IO where TZID<0 order by RQ desc")};

const std::array<QString, kTabCount> kSearchFields = {
    QStringLiteral("RQ & ',' & KH & ',' & KHXQ"), QStringLiteral("GYSMC & ',' & GYSZL & ',' & GHPZ"),
    QStringLiteral("LSJ & ',' & MC & ',' & JC & ',' & XH  & ','  & KW & ','  & KCmin & ',' &  ZKC "),
    QStringLiteral("RQ & ',' & SL & ',' & ZJE & ',' & GZJE  & ','  & BZ & ','  & SPMC & ',' &  KHZL  & ',' "
                   "&  KHXQ"),
    QStringLiteral("RQ & ',' & SL & ',' & ZJE & ',' & GZJE  & ','  & BZ & ','  & SPMC & ',' &  GYS  & ',' "
                   "&  KHZL")};

const std::array<QString, kTabCount> kHints = {
    QStringLiteral(" 可点击鼠标右键选择操作 >>> 客户需求   ...   "),
    QStringLiteral(" 可点击鼠标右键选择操作 >>> 供应商   ...   "),
    QStringLiteral(" 可点击鼠标右键选择操作 >>> 库存台账  ...   "),
    QStringLiteral(" 可点击鼠标右键选择操作 >>> 销货记录   ...   "),
    QStringLiteral(" 可点击鼠标右键选择操作 >>> 进货记录   ...   ")};

// The view's name as its hint gives it.
const std::array<QString, kTabCount> kViewNames = {QStringLiteral("客户需求"), QStringLiteral("供应商"),
                                                   QStringLiteral("库存台账"), QStringLiteral("销货记录"),
                                                   QStringLiteral("进货记录")};

int checked(int tab) {
    return std::clamp(tab, 0, kTabCount - 1);
}

} // namespace

QString tabCaption(int tab) {
    return kCaptions[checked(tab)];
}

QString defaultStatement(int tab) {
    return kDefaultStatements[checked(tab)];
}

QString baseStatement(int tab) {
    return kBaseStatements[checked(tab)];
}

QString searchFields(int tab) {
    return kSearchFields[checked(tab)];
}

QString searchStatement(int tab, const QString& keywords) {
    return QStringLiteral("select * from (") + baseStatement(tab) + QStringLiteral(") where ") +
           KeywordCondition(searchFields(tab), keywords);
}

QString statusText(int tab, double total, const Options& options) {
    const QString hint = kHints[checked(tab)];
    const QString sum = vb::CStr(vb::Round(total, 2));
    switch (tab) {
    case Goods: // the cost total shows even while the cost column is hidden
        return hint + QStringLiteral("成本合计：") + sum;
    case Sales:
        return hint + QStringLiteral("金额合计：") + sum;
    case Purchases:
        return options.Show_JHZJE ? hint + QStringLiteral("金额合计：") + sum : hint;
    default:
        return hint;
    }
}

namespace {
// The same test as GoodsListModel::isLowStock.
const QString kLowStock = QStringLiteral(" where KCmin>0 and ZKC<KCmin");
} // namespace

QString lowStockStatement() {
    return QStringLiteral("select ID,JC,MC,XH,KW,KCmin,ZKC,ZCB,LSJ,PFJ,DBJ from T_TZ") + kLowStock +
           QStringLiteral(" order by MC,XH");
}

QString lowStockCountStatement() {
    return QStringLiteral("select count(*) from T_TZ") + kLowStock;
}

QString lowStockText(qlonglong count) {
    return QStringLiteral("低于最小库存：") + QString::number(count) + QStringLiteral(" 种");
}

QString runningText(int tab, int rows) {
    return QStringLiteral(" 正在搜索 >>> ") + kViewNames[checked(tab)] + QStringLiteral("   ...   已找到 ") +
           QString::number(rows) + QStringLiteral(" 条");
}

} // namespace listviews
