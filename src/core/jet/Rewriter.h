#pragma once
// Runs between binding and emitting: replaces shapes of the program's statements that SQLite
// would run slowly with faster ones of exactly the same meaning. Only a speed-up: a statement
// emitted without this pass gives the same rows.
#include "core/jet/Ast.h"

namespace jet {

void rewrite(Statement& st);

} // namespace jet
