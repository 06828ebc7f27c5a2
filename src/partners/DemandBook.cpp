#include "partners/DemandBook.h"

#include "core/KeywordSearch.h"
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
    const QueryResult r = session_.query(query.isEmpty() ? kDefaultQuery : query);
    const int id = r.columnIndex(QStringLiteral("ID"));
    const int rq = r.columnIndex(QStringLiteral("RQ"));
    const int khid = r.columnIndex(QStringLiteral("KHID"));
    const int kh = r.columnIndex(QStringLiteral("KH"));
    const int bj = r.columnIndex(QStringLiteral("BJ"));
    const int xq = r.columnIndex(QStringLiteral("KHXQ"));
    std::vector<DemandRecord> rows;
    rows.reserve(r.rowCount());
    for (const auto& row : r.rows) {
        DemandRecord d;
        d.ID = qlonglong(vb::Number(row[id]));
        d.RQ = vb::Text(row[rq]);
        d.KHID = qlonglong(vb::Number(row[khid]));
        d.KH = vb::Text(row[kh]);
        d.BJ = vb::Number(row[bj]) != 0 || (row[bj].typeId() == QMetaType::Bool && row[bj].toBool());
        d.KHXQ = vb::Text(row[xq]);
        rows.push_back(std::move(d));
    }
    return rows;
}

QStringList DemandBook::customerColumn(const std::vector<DemandRecord>& rows) {
    QStringList column;
    column.reserve(qsizetype(rows.size()));
    int group = 1;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && rows[i].KH == rows[i - 1].KH) {
            ++group;
            column << QStringLiteral(" ... (") + QString::number(group) + QStringLiteral(")");
        } else {
            group = 1;
            column << rows[i].KH;
        }
    }
    return column;
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
