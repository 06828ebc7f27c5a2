#include "app/Commands.h"

#include "app/ReportCommand.h"

std::vector<Command> HeadlessCommands() {
    return {ReportCommand()};
}
