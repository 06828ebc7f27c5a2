#pragma once
// vostrel export: a list as the main window shows it, written as PDF, Excel or CSV.
#include "app/CommandLine.h"

Command ExportCommand();
