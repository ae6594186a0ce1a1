#include "programs/cli/CliCommand.h"

const std::vector<CliCommand>& CliCommands()
{
    static const std::vector<CliCommand> commands = [] {
        std::vector<CliCommand> all;
        for (auto part : {CatalogueCommands(), CodecCommands(), FileCommands(), GridCommands(), FindCommands(),
                          CompareCommands(), PlcCommands(), DetectCommands(), WatchCommands()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return commands;
}
