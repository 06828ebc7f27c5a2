#include "app/Commands.h"

#include "app/BackupCommands.h"
#include "app/ReportCommand.h"

std::vector<Command> HeadlessCommands() {
    return {ReportCommand(), BackupCommand(), RestoreCommand()};
}
