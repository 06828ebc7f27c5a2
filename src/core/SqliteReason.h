#pragma once
// Why SQLite failed, in the operator's words where the disk or the data file is at fault (full,
// read-only, failing, in use, damaged); a statement's own fault keeps SQLite's words.
#include <QString>

struct sqlite3;

// The reason for the connection's last failure.
QString SqliteReason(sqlite3* db);
// The reason for a result code; SQLite's message for a code the operator has no words for.
QString SqliteReason(int code, const QString& sqliteMessage);
