#pragma once
#include "core/Schema.h"

#include <QString>

// Creates a new, empty data file with the tables of that version and the options row ID 3
// with the defaults of a freshly initialised ledger. The file is readable and writable by its
// owner only. Throws DbError when the file exists already or cannot be written.
void CreateDataFile(const QString& path, long version = schema::kCurrentVersion);
