#include "admin/LogBook.h"

#include "admin/LoggedWrite.h"
#include "core/Session.h"

void LogBook::read(const std::function<void(LogRecord&&)>& add) {
    // The data file writes the dates' texts itself: no date of the hundreds of thousands of a
    // long log goes through the local time zone.
    s_.read(QStringLiteral("select ID, RQ & '' as RQ, cc from T_TXT order by ID"), [&](RowSource& rows) {
        const int id = rows.columnIndex(QStringLiteral("ID"));
        const int rq = rows.columnIndex(QStringLiteral("RQ"));
        const int cc = rows.columnIndex(QStringLiteral("cc"));
        while (rows.next())
            add({rows.id(id), rows.text(rq), rows.text(cc)});
    });
}

bool LogBook::clear() {
    return LoggedWrite(
        s_, [&] { ExecSql(s_, QStringLiteral("delete from T_txt")); }, QStringLiteral("操作日志已清空"),
        QStringLiteral("  操作跟踪记录(操作日志)已清空！    "));
}
