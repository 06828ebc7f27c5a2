#pragma once
// Keyword search shared by the main window and the customer, demand and supplier forms.
#include <QString>

class QComboBox;
class Session;

// The condition that keeps the rows whose joined fields (a Jet expression) contain every
// comma-separated keyword: " id>0 " for an empty text, " id<0 " for commas only, else
// " InStr(fields,'a')>0 and InStr(fields,'b')>0". Blanks inside a keyword are kept.
QString KeywordCondition(const QString& fieldsExpression, const QString& keywords);

// Load_cmbSS: fills the combo's drop-down with the remembered keywords in `cc` order.
void LoadKeywordCombo(Session& session, QComboBox& combo);

// SaveKey: remembers a search text unless the drop-down already holds exactly that text;
// a new one is appended to the drop-down, made the combo's text and stored in T_Key.
void SaveKey(Session& session, QComboBox& combo, const QString& key);
