#pragma once
// Suppliers: the list, adding, changing and removing. No widgets here.
#include "core/Records.h"

#include <QString>
#include <vector>

class Session;

class SupplierBook {
public:
    static inline const QString kDefaultQuery =
        QStringLiteral("select top 200 ID,GYSMC,GYSZL,GHPZ from T_GYS order by GYSMC");
    static inline const QString kSearchFields = QStringLiteral("GYSMC & ',' & GYSZL & ',' & GHPZ");

    explicit SupplierBook(Session& session) : session_(session) {}

    // The form query of a search: the condition (see KeywordCondition) in the list statement.
    static QString searchStatement(const QString& condition);
    static QString searchQuery(const QString& keywords);

    // Runs a form query (empty: the default one); each row carries its label
    // "name(details)". Throws DbError.
    std::vector<SupplierRecord> load(const QString& query) const;

    qlonglong add(const QString& name, const QString& details, const QString& kinds);
    void update(qlonglong id, const QString& name, const QString& details, const QString& kinds);
    // Purchases naming the supplier stay as they are.
    void remove(qlonglong id);

private:
    Session& session_;
};
