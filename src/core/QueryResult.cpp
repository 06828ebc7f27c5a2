#include "core/QueryResult.h"

#include "core/Vb.h"

QString RowSource::text(int column) const {
    return vb::Text(value(column));
}

double RowSource::number(int column) const {
    return vb::Number(value(column));
}

QString RowSource::dateText(int column) const {
    const QVariant v = value(column);
    if (v.typeId() != QMetaType::QDate) return vb::Text(v);
    const QDate d = v.toDate();
    return sharedDate(d.toJulianDay(), [&] { return vb::DateText(d); });
}

QVariant ResultRows::value(int column) const {
    if (column < 0 || row_ < 0 || row_ >= result_.rowCount()) return {};
    return result_.rows[size_t(row_)][size_t(column)];
}
