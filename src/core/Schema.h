#pragma once
// The data file's tables as one ordered list of steps: the tables as first made (version 2000),
// then what each later version changed. A new data file runs them all; a data file of an older
// version runs the ones after its own. Every step stores its version in the options row.
#include <QString>
#include <QStringList>

struct sqlite3;
class Session;

namespace schema {

inline constexpr long kFirstVersion = 2000;
inline constexpr long kCurrentVersion = 2002;

// Makes the tables of `version` (kFirstVersion to kCurrentVersion) in an empty database, with
// the options row of a freshly initialised ledger, in one transaction. The connection needs the
// program's SQL functions: the name indexes sort by pinyin. Throws DbError; nothing is written then.
void create(sqlite3* db, long version = kCurrentVersion);

// Runs the steps after `version` on an open data file, one by one, up to the current version.
// A step stores its version first and then changes the tables; a step that fails ends the climb
// and keeps what it wrote, so the next start carries on from the stored version. Returns the
// version of the last step completed (`version` when none was).
long upgrade(Session& session, long version);

// The tables a data file of `version` holds (none for a version no step makes).
QStringList tables(long version);

// The options of a freshly initialised ledger as the assignments of an UPDATE of the options
// row: both default passwords, the first tab, every money column shown and every guarded
// function kept for the administrator. The business name and the version are not among them.
// Booleans are written as -1, which the data file and the statements both read as True.
QString freshOptions();

} // namespace schema
