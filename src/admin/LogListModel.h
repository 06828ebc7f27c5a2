#pragma once
// The operation log's lines: row number, date and time, what was done.
#include "admin/LogBook.h"
#include "ui/RecordTableModel.h"

class LogListModel : public RecordTableModel<LogRecord> {
public:
    enum Column { XH, RQ, CZ };
    explicit LogListModel(QObject* parent = nullptr);
    // Every line of the log, oldest identifier first. Throws DbError; the list is empty then.
    void load(LogBook& book);

protected:
    QString cellText(int row, int column) const override;
};
