#pragma once
// Customers: the list, adding with the placeholder demand, changing and removing.
// No widgets here; the form reads its boxes and shows the outcome.
#include "core/Records.h"

#include <QDate>
#include <QString>
#include <vector>

class Session;

class CustomerBook {
public:
    static inline const QString kDefaultQuery =
        QStringLiteral("select top 200 ID,KHMC,KHZL from T_KH order by KHMC");
    static inline const QString kSearchFields = QStringLiteral("KHMC & ',' & KHZL");
    // The text every new customer's first demand carries until it is revised.
    static inline const QString kPlaceholderDemand = QStringLiteral("待修改");

    explicit CustomerBook(Session& session) : session_(session) {}

    // The form query of a search: the condition (see KeywordCondition) in the list statement.
    static QString searchStatement(const QString& condition);
    static QString searchQuery(const QString& keywords);

    // Runs a form query (empty: the default one). Throws DbError.
    std::vector<CustomerRecord> load(const QString& query) const;

    // Stores the customer and its open placeholder demand dated `today`, both or neither.
    // Returns the new customer's ID. Throws DbError.
    qlonglong add(const QString& name, const QString& details, const QDate& today);
    void update(qlonglong id, const QString& name, const QString& details);
    // Removes the customer and its demands together; sales naming it stay.
    void remove(qlonglong id);

private:
    Session& session_;
};

// Names of customers and suppliers need at least 4 bytes in GBK: two Chinese characters
// or four Western ones.
bool NameLongEnough(const QString& name);
