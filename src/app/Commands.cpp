#include "app/Commands.h"

#include "app/BackupCommands.h"
#include "app/CheckCommand.h"
#include "app/ExportCommand.h"
#include "app/ReportCommand.h"

std::vector<Command> HeadlessCommands() {
    return {ReportCommand(), ExportCommand(), BackupCommand(), RestoreCommand(), CheckCommand()};
}
