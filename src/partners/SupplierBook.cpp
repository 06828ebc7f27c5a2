#include "partners/SupplierBook.h"

#include "core/KeywordSearch.h"
#include "core/RecordReader.h"
#include "core/Session.h"
#include "core/TextRoutines.h"

QString SupplierBook::searchQuery(const QString& keywords) {
    return searchStatement(KeywordCondition(kSearchFields, keywords));
}

QString SupplierBook::searchStatement(const QString& condition) {
    return QStringLiteral("select ID,GYSMC,GYSZL,GHPZ from T_GYS  Where ") + condition +
           QStringLiteral(" order by GYSMC");
}

std::vector<SupplierRecord> SupplierBook::load(const QString& query) const {
    std::vector<SupplierRecord> rows;
    session_.read(query.isEmpty() ? kDefaultQuery : query,
                  [&](RowSource& in) { rows = RecordReader::all(in, &RecordReader::supplier); });
    return rows;
}

qlonglong SupplierBook::add(const QString& name, const QString& details, const QString& kinds) {
    return session_.addRow(QStringLiteral("T_GYS"), {{QStringLiteral("GYSMC"), Clean(name)},
                                                     {QStringLiteral("GYSZL"), Clean(details)},
                                                     {QStringLiteral("GHPZ"), Clean(kinds)}});
}

void SupplierBook::update(qlonglong id, const QString& name, const QString& details, const QString& kinds) {
    ExecSql(session_, QStringLiteral("update T_GYS Set GYSMC='") + Clean(name) + QStringLiteral("',GYSZL='") +
                          Clean(details) + QStringLiteral("',GHPZ='") + Clean(kinds) +
                          QStringLiteral("' where ID=") + QString::number(id));
}

void SupplierBook::remove(qlonglong id) {
    ExecSql(session_, QStringLiteral("delete from T_GYS where ID=") + QString::number(id));
}
