#include "partners/DemandBook.h"

#include "core/KeywordSearch.h"
#include "core/RecordReader.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Vb.h"

QString DemandBook::searchQuery(const QString& keywords) {
    return searchStatement(KeywordCondition(kSearchFields, keywords));
}

QString DemandBook::searchStatement(const QString& condition) {
    return QStringLiteral(
               "select ID, RQ, KHXQ, BJ, KHID,KH from (SELECT ID, RQ, KHXQ, BJ, KHID, (select KHMC & "
               "'(' & KHZL & ')' from T_KH where ID=T_KH_XQ.KHID) AS KH FROM T_KH_XQ ) Where ") +
           condition + QStringLiteral(" order by  KH,RQ desc");
}

std::vector<DemandRecord> DemandBook::load(const QString& query) const {
    std::vector<DemandRecord> rows;
    session_.read(query.isEmpty() ? kDefaultQuery : query,
                  [&](RowSource& in) { rows = RecordReader::all(in, &RecordReader::demand); });
    return rows;
}

QString DemandBook::stateText(const DemandRecord& row) {
    return (row.BJ ? QStringLiteral("已了") : QStringLiteral("未了")) + QStringLiteral("|") + row.KHXQ;
}

qlonglong DemandBook::add(qlonglong customerId, const QDate& date, const QString& text) {
    return session_.addRow(QStringLiteral("T_KH_XQ"), {{QStringLiteral("KHID"), customerId},
                                                       {QStringLiteral("RQ"), vb::DateText(date)},
                                                       {QStringLiteral("KHXQ"), Clean(text)},
                                                       {QStringLiteral("BJ"), false}});
}

void DemandBook::updateText(qlonglong id, const QString& text) {
    ExecSql(session_, QStringLiteral("update T_KH_XQ Set KHXQ='") + Clean(text) +
                          QStringLiteral("' where ID=") + QString::number(id));
}

void DemandBook::remove(qlonglong id) {
    ExecSql(session_, QStringLiteral("delete from T_KH_XQ where ID=") + QString::number(id));
}

void DemandBook::toggleDone(qlonglong id) {
    ExecSql(session_, QStringLiteral("update T_KH_XQ set bj=not bj where id=") + QString::number(id));
}
