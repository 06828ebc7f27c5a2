#pragma once
// vostrel backup DEST and vostrel restore SRC: the data file copied out and replaced, by the
// same services as the backup window, with the same refusals.
#include "app/CommandLine.h"

Command BackupCommand();
Command RestoreCommand();
