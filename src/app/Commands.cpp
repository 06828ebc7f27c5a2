#include "app/Commands.h"

std::vector<Command> HeadlessCommands() {
    return {};
}
