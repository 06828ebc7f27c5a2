#include "ui/KeywordCombo.h"

#include "core/KeywordSearch.h"

KeywordCombo::KeywordCombo(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("cmbSS"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void KeywordCombo::load(Session& session) {
    const QStringList keys = RememberedKeywords(session);
    clear();
    addItems(keys);
    setCurrentIndex(-1);
    setEditText(QString());
}

void KeywordCombo::remember(Session& session, const QString& key) {
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == key) return;
    RememberKeyword(session, key);
    addItem(key);
    setEditText(key);
}
