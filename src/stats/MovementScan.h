#pragma once
// Every movement record read once, in ID order, the way both statistics need it: one plain
// pass over the table instead of a query per month or per goods item.
#include <QtGlobal>
#include <functional>

class Progress;
class Session;

struct StatsMovement {
    qlonglong ID = 0;
    qlonglong TZID = 0; // > 0 a sale of goods TZID, otherwise a purchase of goods -TZID
    qint64 when = 0;    // date and time in seconds, in the order the dates sort
    int month = -1;     // year * 12 + month - 1; -1 for a record without a date
    double SL = 0;
    double ZJE = 0;

    qlonglong goods() const { return TZID < 0 ? -TZID : TZID; }
    bool sale() const { return TZID > 0; }
    // Amounts are stored rounded to the cent, so whole cents add up without any error.
    qint64 cents() const;
};

class MovementScan {
public:
    MovementScan(Session& session, Progress* progress) : s_(session), progress_(progress) {}
    // The number of records, for sizing and for the progress bar. Throws DbError.
    qint64 count();
    // Hands every record to `take`; the bar moves from `from` to `to`. False when the operator
    // stopped the computation. Throws DbError.
    bool run(float from, float to, const std::function<void(const StatsMovement&)>& take);

private:
    Session& s_;
    Progress* progress_;
    qint64 count_ = -1;
};

// "yyyymm" of a month number of StatsMovement.
QString MonthText(int month);
