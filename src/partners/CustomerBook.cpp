#include "partners/CustomerBook.h"

#include "core/KeywordSearch.h"
#include "core/RecordReader.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Transaction.h"
#include "core/Vb.h"

QString CustomerBook::searchQuery(const QString& keywords) {
    return searchStatement(KeywordCondition(kSearchFields, keywords));
}

QString CustomerBook::searchStatement(const QString& condition) {
    return QStringLiteral("select ID,KHMC,KHZL from T_KH Where ") + condition +
           QStringLiteral(" order by KHMC");
}

std::vector<CustomerRecord> CustomerBook::load(const QString& query) const {
    std::vector<CustomerRecord> rows;
    session_.read(query.isEmpty() ? kDefaultQuery : query,
                  [&](RowSource& in) { rows = RecordReader::all(in, &RecordReader::customer); });
    return rows;
}

qlonglong CustomerBook::add(const QString& name, const QString& details, const QDate& today) {
    // A customer without its placeholder could never get a demand, so the two go together.
    Transaction tx(session_);
    const qlonglong id = session_.addRow(QStringLiteral("T_KH"), {{QStringLiteral("KHMC"), Clean(name)},
                                                                  {QStringLiteral("KHZL"), Clean(details)}});
    session_.addRow(QStringLiteral("T_KH_XQ"), {{QStringLiteral("KHID"), id},
                                                {QStringLiteral("RQ"), vb::DateText(today)},
                                                {QStringLiteral("KHXQ"), kPlaceholderDemand},
                                                {QStringLiteral("BJ"), false}});
    tx.commit();
    return id;
}

void CustomerBook::update(qlonglong id, const QString& name, const QString& details) {
    ExecSql(session_, QStringLiteral("update T_KH Set KHMC='") + Clean(name) + QStringLiteral("',KHZL='") +
                          Clean(details) + QStringLiteral("' where ID=") + QString::number(id));
}

void CustomerBook::remove(qlonglong id) {
    Transaction tx(session_);
    ExecSql(session_, QStringLiteral("delete from T_KH_XQ where KHID=") + QString::number(id));
    ExecSql(session_, QStringLiteral("delete from T_KH where ID=") + QString::number(id));
    tx.commit();
}

bool NameLongEnough(const QString& name) {
    return AnsiByteLength(name) >= 4;
}
