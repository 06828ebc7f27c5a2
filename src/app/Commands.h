#pragma once
// The commands that run without windows; each later command joins this table.
#include "app/CommandLine.h"

std::vector<Command> HeadlessCommands();
