#pragma once
// The goods and movements of a data file, as the random ledger test compares them: amounts in
// cents, so that what the writer says and what the file holds compare exactly.
#include "core/Session.h"

#include <cmath>
#include <map>

struct Shop {
    std::map<qlonglong, QString> goods; // ID -> name
    std::map<qlonglong, QString> moves; // ID -> "TZID SL ZJE"

    // The whole file, or with `g` the goods item g and its movements only.
    static Shop of(Session& s, qlonglong g = 0) {
        Shop shop;
        const QString only = g ? QStringLiteral(" where ID=%1").arg(g) : QString();
        for (const auto& r : s.query("select ID, MC from T_TZ" + only).rows)
            shop.goods[r[0].toLongLong()] = r[1].toString();
        const QString itsOwn = g ? QStringLiteral(" where abs(TZID)=%1").arg(g) : QString();
        for (const auto& r : s.query("select ID, TZID, SL, ZJE from T_IO" + itsOwn).rows)
            shop.moves[r[0].toLongLong()] = QStringLiteral("%1 %2 %3")
                                                .arg(r[1].toLongLong())
                                                .arg(std::llround(r[2].toDouble() * 100))
                                                .arg(std::llround(r[3].toDouble() * 100));
        return shop;
    }
    // "g ID name" and "m ID TZID SL ZJE", one after the other.
    QString text(QChar separator = '\n') const {
        QStringList t;
        for (const auto& [id, name] : goods)
            t << QStringLiteral("g %1 %2").arg(id).arg(name);
        for (const auto& [id, move] : moves)
            t << QStringLiteral("m %1 ").arg(id) + move;
        return t.join(separator);
    }
    static Shop parse(const QString& text) {
        Shop shop;
        for (const QString& entry : text.split(';', Qt::SkipEmptyParts)) {
            const qlonglong id = entry.section(' ', 1, 1).toLongLong();
            (entry[0] == 'g' ? shop.goods : shop.moves)[id] = entry.section(' ', 2);
        }
        return shop;
    }
    // Goods item g and its movements as `from` has them.
    void take(qlonglong g, const Shop& from) {
        const auto its = [g](const auto& kv) {
            return std::llabs(kv.second.section(' ', 0, 0).toLongLong()) == g;
        };
        goods.erase(g);
        std::erase_if(moves, its);
        if (from.goods.count(g)) goods[g] = from.goods.at(g);
        for (const auto& kv : from.moves)
            if (its(kv)) moves.insert(kv);
    }
};
