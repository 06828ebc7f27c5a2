#pragma once
// Customer demands: the list grouped by customer, adding, changing the text, removing and
// the done flag. No widgets here.
#include "core/Records.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

class Session;

class DemandBook {
public:
    // All demands, grouped by customer label and newest first within a customer.
    static inline const QString kDefaultQuery = QStringLiteral(
        "select * from (select ID,RQ,KHXQ,BJ,KHID,(select KHMC & '(' & KHZL & ')' from T_KH where "
        "ID=T_KH_XQ.KHID) as KH from T_KH_XQ) order by KH,RQ desc");
    static inline const QString kSearchFields = QStringLiteral("RQ & ',' & KH & ',' & KHXQ");

    explicit DemandBook(Session& session) : session_(session) {}

    // The form query of a search: the condition (see KeywordCondition) in the list statement.
    static QString searchStatement(const QString& condition);
    static QString searchQuery(const QString& keywords);

    // Runs a form query (empty: the default one). Throws DbError.
    std::vector<DemandRecord> load(const QString& query) const;

    // "已了|text" or "未了|text".
    static QString stateText(const DemandRecord& row);

    // An open demand of customer `customerId`; returns its ID. Throws DbError.
    qlonglong add(qlonglong customerId, const QDate& date, const QString& text);
    // Changes only the text; date, customer and done flag stay.
    void updateText(qlonglong id, const QString& text);
    void remove(qlonglong id);
    // Settled becomes open and open becomes settled.
    void toggleDone(qlonglong id);

private:
    Session& session_;
};
