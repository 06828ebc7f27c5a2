#include "stock/PartnerChoices.h"

#include "core/Session.h"
#include "core/Vb.h"

namespace {

// Dates come back as dates, or as stored text where the column type is not known.
QString dateText(const QVariant& v) {
    if (v.typeId() == QMetaType::QString) {
        const QDateTime dt = vb::ParseDateTime(v.toString());
        if (dt.isValid()) return vb::DateTimeText(dt);
    }
    return vb::Text(v);
}

} // namespace

std::vector<PartnerChoice> PartnerChoices::suppliers(Session& session) {
    std::vector<PartnerChoice> list{{}};
    const QueryResult& r =
        OpenQuery(session, QStringLiteral("SELECT ID,GYSMC,GHPZ,GYSZL from T_GYS order by GYSMC"));
    for (int i = 0; i < r.rowCount(); ++i)
        list.push_back({vb::Text(r.value(i, 1)) + QLatin1Char(';') + vb::Text(r.value(i, 2)),
                        r.value(i, 0).toLongLong(), 0});
    return list;
}

std::vector<PartnerChoice> PartnerChoices::openDemands(Session& session) {
    std::vector<PartnerChoice> list{{}};
    const QueryResult& r = OpenQuery(
        session,
        QStringLiteral("select * from (select ID,KHID,RQ,(select KHMC from T_KH where ID=T_KH_XQ.KHID) as "
                       "KH,KHXQ from T_KH_XQ where not BJ) order by RQ desc,KH"));
    const int id = r.columnIndex(QStringLiteral("ID")), khid = r.columnIndex(QStringLiteral("KHID")),
              rq = r.columnIndex(QStringLiteral("RQ")), kh = r.columnIndex(QStringLiteral("KH")),
              xq = r.columnIndex(QStringLiteral("KHXQ"));
    for (int i = 0; i < r.rowCount(); ++i)
        list.push_back({dateText(r.value(i, rq)) + QLatin1Char(';') + vb::Text(r.value(i, kh)) +
                            QLatin1Char(';') + vb::Text(r.value(i, xq)),
                        r.value(i, id).toLongLong(), r.value(i, khid).toLongLong()});
    return list;
}
