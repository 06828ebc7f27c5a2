#include "stats/MovementScan.h"

#include "core/Session.h"
#include "core/Vb.h"
#include "stats/Progress.h"

#include <cmath>

qint64 StatsMovement::cents() const {
    return std::llround(ZJE * 100.0);
}

qint64 MovementScan::count() {
    if (count_ < 0) count_ = s_.query(QStringLiteral("select count(*) from T_IO")).value(0, 0).toLongLong();
    return count_;
}

bool MovementScan::run(float from, float to, const std::function<void(const StatsMovement&)>& take) {
    const qint64 total = count();
    bool stopped = false;
    s_.read(QStringLiteral("select ID,TZID,RQ,SL,ZJE from T_IO order by ID"), [&](RowSource& rows) {
        StatsMovement m;
        qint64 done = 0;
        qint64 lastDay = -1; // records come mostly in date order: a day's month is worked out once
        int lastMonth = -1;
        while (rows.next()) {
            // Often enough for a bar that moves, seldom enough to cost nothing.
            if ((++done & 4095) == 0 && progress_) {
                if (progress_->stopped()) {
                    stopped = true;
                    return;
                }
                progress_->setFraction(from + (to - from) * float(done) / float(std::max<qint64>(total, 1)));
            }
            m.ID = rows.id(0);
            m.TZID = rows.id(1);
            m.SL = rows.number(3);
            m.ZJE = rows.number(4);
            // Dates without a time come back as QDate, which costs no time-zone arithmetic.
            const QVariant rq = rows.value(2);
            QDate day;
            int seconds = 0;
            if (rq.typeId() == QMetaType::QDate) {
                day = rq.toDate();
            } else if (!rq.isNull()) {
                const QDateTime at =
                    rq.typeId() == QMetaType::QDateTime ? rq.toDateTime() : vb::ParseDateTime(rq.toString());
                day = at.date();
                seconds = at.time().msecsSinceStartOfDay() / 1000;
            }
            if (day.isValid()) {
                const qint64 jd = day.toJulianDay();
                if (jd != lastDay) {
                    int y = 0, mo = 0;
                    day.getDate(&y, &mo, nullptr);
                    lastDay = jd;
                    lastMonth = y * 12 + mo - 1;
                }
                m.when = jd * 86400 + seconds;
                m.month = lastMonth;
            } else {
                m.when = 0;
                m.month = -1;
            }
            take(m);
        }
    });
    if (stopped) return false;
    if (progress_) progress_->setFraction(to);
    return true;
}

QString MonthText(int month) {
    return QStringLiteral("%1%2")
        .arg(month / 12, 4, 10, QLatin1Char('0'))
        .arg(month % 12 + 1, 2, 10, QLatin1Char('0'));
}
