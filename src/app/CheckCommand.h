#pragma once
#include "app/CommandLine.h"

// `check`: the data file's integrity and the ledger's rules; exit 1 when anything disagrees.
Command CheckCommand();
