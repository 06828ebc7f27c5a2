#pragma once
#include "support/TestFixture.h"

#include <QDate>

// A data file with helpers to put customers, demands, suppliers and sales into it.
class PartnerFixture : public LedgerFixture {
protected:
    qlonglong customer(const QString& name, const QString& details = {}) {
        return session.addRow("T_KH", {{"KHMC", name}, {"KHZL", details}});
    }
    qlonglong demand(qlonglong customerId, const QDate& date, const QString& text, bool done = false) {
        return session.addRow("T_KH_XQ", {{"KHID", customerId}, {"RQ", date}, {"KHXQ", text}, {"BJ", done}});
    }
    qlonglong supplier(const QString& name, const QString& details = {}, const QString& kinds = {}) {
        return session.addRow("T_GYS", {{"GYSMC", name}, {"GYSZL", details}, {"GHPZ", kinds}});
    }
    long long count(const QString& table, const QString& where = "id>0") {
        return scalar("select count(*) from " + table + " where " + where).toLongLong();
    }
    // Makes every write of that kind on the table fail at the database.
    void failOn(const QString& what, const QString& table) {
        session.execNative(QStringLiteral("CREATE TRIGGER fail_%1_%2 BEFORE %1 ON %2 BEGIN SELECT "
                                          "RAISE(ABORT, 'refused'); END")
                               .arg(what, table));
    }
};
