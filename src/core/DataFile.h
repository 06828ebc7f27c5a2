#pragma once
#include <QString>

// Creates a new, empty data file: the nine tables (T_Print1 only from version 2001 on)
// and the options row ID 3 with the defaults of a freshly initialised ledger.
// The file is readable and writable by its owner only. Throws DbError when the file
// exists already or cannot be written.
void CreateDataFile(const QString& path, long version = 2002);
