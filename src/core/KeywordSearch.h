#pragma once
// Keyword search shared by the main window and the customer, demand and supplier forms.
#include <QString>
#include <QStringList>

class Session;

// The condition that keeps the rows whose joined fields (a Jet expression) contain every
// comma-separated keyword: " id>0 " for an empty text, " id<0 " for commas only, else
// " InStr(fields,'a')>0 and InStr(fields,'b')>0". Blanks inside a keyword are kept.
QString KeywordCondition(const QString& fieldsExpression, const QString& keywords);

// The remembered keywords (T_Key) in `cc` order. Throws DbError.
QStringList RememberedKeywords(Session& session);
// Stores one more keyword. Throws DbError.
void RememberKeyword(Session& session, const QString& key);
