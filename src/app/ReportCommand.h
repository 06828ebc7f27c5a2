#pragma once
// vostrel report monthly|goods: a statistics list as its window shows it.
#include "app/CommandLine.h"

Command ReportCommand();
