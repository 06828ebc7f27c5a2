#include "core/KeywordSearch.h"

#include "core/Session.h"

QString KeywordCondition(const QString& fieldsExpression, const QString& keywords) {
    // The callers strip apostrophes already; a stray one must still never end the quoted text.
    QString k = keywords;
    k.remove(QLatin1Char('\''));
    if (k.isEmpty()) return QStringLiteral(" id>0 ");
    while (k.startsWith(QLatin1Char(',')))
        k.remove(0, 1);
    while (k.endsWith(QLatin1Char(',')))
        k.chop(1);
    if (k.isEmpty()) return QStringLiteral(" id<0 ");
    QString condition;
    for (const QString& piece : k.split(QLatin1Char(','))) {
        if (!piece.isEmpty())
            condition += QStringLiteral(" and InStr(") + fieldsExpression + QStringLiteral(",'") + piece +
                         QStringLiteral("')>0");
    }
    return condition.mid(4);
}

QStringList RememberedKeywords(Session& session) {
    const QueryResult& r = OpenQuery(session, QStringLiteral("select id,cc from T_Key order by cc"));
    QStringList keys;
    keys.reserve(r.rowCount());
    for (int i = 0; i < r.rowCount(); ++i)
        keys << r.value(i, 1).toString();
    return keys;
}

void RememberKeyword(Session& session, const QString& key) {
    session.addRow(QStringLiteral("T_Key"), {{QStringLiteral("cc"), key}});
}
