#pragma once
// The keyword box of the main window and the maintenance forms: typed or picked from the
// remembered keywords.
#include <QComboBox>

class Session;

class KeywordCombo : public QComboBox {
    Q_OBJECT
public:
    explicit KeywordCombo(QWidget* parent = nullptr);

    // Load_cmbSS: the drop-down gets the remembered keywords; the box itself starts empty.
    // Throws DbError.
    void load(Session& session);
    // SaveKey: remembers a search text unless the drop-down already holds exactly that text;
    // a new one is appended to the drop-down, made the box's text and stored. Throws DbError.
    void remember(Session& session, const QString& key);
};
