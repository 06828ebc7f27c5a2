// Entry point: the command line decides between the windows and a command without them.
#include "app/CommandLine.h"
#include "app/Commands.h"
#include "app/GuiStartup.h"

int main(int argc, char** argv) {
    CommandLine commandLine(HeadlessCommands());
    return commandLine.run(argc, argv,
                           [&](const QString& dataFile) { return StartWindows(argc, argv, dataFile); });
}
