#include "core/KeywordSearch.h"

#include "core/Session.h"

#include <QComboBox>

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

void LoadKeywordCombo(Session& session, QComboBox& combo) {
    combo.clear();
    const QueryResult& r = OpenQuery(session, QStringLiteral("select id,cc from T_Key order by cc"));
    QStringList items;
    items.reserve(r.rowCount());
    for (int i = 0; i < r.rowCount(); ++i)
        items << r.value(i, 1).toString();
    combo.addItems(items);
}

void SaveKey(Session& session, QComboBox& combo, const QString& key) {
    for (int i = 0; i < combo.count(); ++i)
        if (combo.itemText(i) == key) return;
    session.addRow(QStringLiteral("T_Key"), {{QStringLiteral("cc"), key}});
    combo.addItem(key);
    combo.setEditText(key);
}
