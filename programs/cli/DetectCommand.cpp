// plc-detect: the serial line settings of a connection found from the command
// line, with the scan the settings dialog runs, and without a window.

#include "programs/cli/CliCommand.h"
#include "programs/cli/NumberArgs.h"
#include "transfer/LineDetect.h"

#include <ostream>

namespace {

const char* ParityName(char parity)
{
    return parity == 'E' ? "even" : parity == 'O' ? "odd" : "none";
}

int RunPlcDetect(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (!args.Positional().empty())
        return context.UsageError(command, "plc-detect takes no file");
    const auto text = args.Value("connection");
    const auto number = text ? ParseIntArg(*text) : std::nullopt;
    if (!number || *number < 0 || *number > 65535)
        return context.UsageError(command, "--connection takes a connection number, 0 to 65535");

    const DetectedLine line = DetectLine(static_cast<std::uint16_t>(*number), args.Has("save"));
    if (!line.Found())
        return context.Failure(line.message);
    context.out << "baud\t" << line.baud << "\ndata-bits\t" << line.dataBits << "\nparity\t" << ParityName(line.parity)
                << "\nstop-bits\t" << line.stopBits << '\n';
    return kExitOk;
}

} // namespace

std::vector<CliCommand> DetectCommands()
{
    return {
        {"plc-detect",
         "plc-detect --connection N [--save]",
         "try the serial line settings until the unit of connection N answers and print them as baud, "
         "data-bits, parity (none, odd, even) and stop-bits lines, each a name, a tab and the value; --save "
         "puts them into the connection's profile",
         {{"connection"}, {"save", false}},
         RunPlcDetect},
    };
}
