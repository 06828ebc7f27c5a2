#pragma once
// One administrative change: its writes and its log line in one transaction, then the operator
// is told. When the data file refuses, everything is rolled back and the reason shown.
#include "core/Options.h"
#include "core/Session.h"
#include "core/Transaction.h"

template <class Write>
bool LoggedWrite(Session& s, Write write, const QString& logLine, const QString& told) {
    try {
        Transaction t(s);
        write();
        AppendLog(s, logLine);
        t.commit();
    } catch (const DbError& e) {
        s.boxes().critical(QStringLiteral("操作失败，数据没有改动：") + e.text, app::kTitle);
        return false;
    }
    s.boxes().information(told, app::kTitle);
    return true;
}
