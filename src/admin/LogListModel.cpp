#include "admin/LogListModel.h"

LogListModel::LogListModel(QObject* parent)
    : RecordTableModel<LogRecord>({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                                   {QStringLiteral("日期时间"), QStringLiteral("RQ"), 2400},
                                   {QStringLiteral("操作描述"), QStringLiteral("CZ"), 0}},
                                  parent) {}

void LogListModel::load(LogBook& book) {
    rebuild([&](RecordBlocks<LogRecord>& to) {
        book.read([&](LogRecord&& r) { to.push_back(std::move(r)); });
        return 0.0;
    });
}

QString LogListModel::cellText(int row, int column) const {
    const LogRecord& r = record(row);
    return column == RQ ? r.RQ : r.cc;
}
