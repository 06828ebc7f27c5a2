#include "partners/SupplierBook.h"

#include "core/KeywordSearch.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Vb.h"

QString SupplierBook::searchQuery(const QString& keywords) {
    return searchStatement(KeywordCondition(kSearchFields, keywords));
}

QString SupplierBook::searchStatement(const QString& condition) {
    return QStringLiteral("select ID,GYSMC,GYSZL,GHPZ from T_GYS  Where ") + condition +
           QStringLiteral(" order by GYSMC");
}

std::vector<SupplierRecord> SupplierBook::load(const QString& query) const {
    const QueryResult r = session_.query(query.isEmpty() ? kDefaultQuery : query);
    const int id = r.columnIndex(QStringLiteral("ID"));
    const int mc = r.columnIndex(QStringLiteral("GYSMC"));
    const int zl = r.columnIndex(QStringLiteral("GYSZL"));
    const int pz = r.columnIndex(QStringLiteral("GHPZ"));
    std::vector<SupplierRecord> rows;
    rows.reserve(r.rowCount());
    for (const auto& row : r.rows) {
        SupplierRecord s;
        s.ID = qlonglong(vb::Number(row[id]));
        s.GYSMC = vb::Text(row[mc]);
        s.GYSZL = vb::Text(row[zl]);
        s.GHPZ = vb::Text(row[pz]);
        s.label = s.GYSMC + QStringLiteral("(") + s.GYSZL + QStringLiteral(")");
        rows.push_back(std::move(s));
    }
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
