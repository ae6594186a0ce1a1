// find and fill: a value in the current radix and unit, looked for in the
// blocks of a file or written into a range of addresses.

#include "grid/DevicePrefix.h"
#include "grid/GridFind.h"
#include "programs/cli/CliCommand.h"
#include "programs/cli/CliDocument.h"
#include "programs/cli/CompareOutput.h"
#include "programs/cli/DisplayOptions.h"
#include "programs/cli/NumberArgs.h"
#include "platform/ConsoleMessageBox.h"

#include <ostream>

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kTrouble = 2;
constexpr std::int64_t kWordBytes = 2;

std::int64_t AddressOf(const CEditData& block, std::size_t offset)
{
    return block.StartAddr + static_cast<std::int64_t>(offset) / kWordBytes / std::max(1, block.DataSize);
}

int RunFind(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 2)
        return context.UsageError(command, "give FILE and VALUE");
    DisplaySetting setting;
    int status = kExitOk;
    if (!ReadDisplayOptions(context, command, args, setting, status))
        return status;
    const std::optional<FindPattern> pattern = ValuePattern(args.Positional()[1], setting.radix, setting.unit);
    if (!pattern)
        return context.UsageError(command, "'" + args.Positional()[1] + "' is no value of this radix and unit");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kTrouble;
    CMemorixDoc* document = session.Open(args.Positional()[0]);
    if (!document)
        return kTrouble;
    const DeviceInfoArray& devices = session.App().Plc().m_aDeviceInfo;
    const std::vector<stDispDevString> names = DispDevStrings(devices);
    std::optional<DeviceArg> only;
    if (const auto text = args.Value("device")) {
        std::string error;
        only = ParseDeviceArg(*text, devices, false, error);
        if (!only)
            return context.UsageError(command, error);
    }
    bool found = false;
    for (const CEditData& block : document->Blocks()) {
        if (only && (only->code != block.Id || only->bank.value_or(block.BankNo) != block.BankNo))
            continue;
        const std::string device = BlockName(block.Id, block.BankNo, names);
        for (const std::size_t offset : FindAllInBlock(block, *pattern)) {
            context.out << device << '\t' << AddressOf(block, offset) << '\n';
            found = true;
        }
    }
    return found ? kFound : kNotFound;
}

// "S-E" as two addresses, S <= E.
bool ParseRange(const std::string& text, std::int64_t& start, std::int64_t& end)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos)
        return false;
    const auto first = ParseIntArg(text.substr(0, dash));
    const auto last = ParseIntArg(text.substr(dash + 1));
    if (!first || !last || *first < 0 || *last < *first)
        return false;
    start = *first;
    end = *last;
    return true;
}

int RunFill(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 2)
        return context.UsageError(command, "give FILE and VALUE");
    const auto deviceText = args.Value("device");
    const auto rangeText = args.Value("range");
    std::int64_t start = 0;
    std::int64_t end = 0;
    if (!deviceText || !rangeText || !ParseRange(*rangeText, start, end))
        return context.UsageError(command, "--device and --range START-END are required");
    DisplaySetting setting;
    int status = kExitOk;
    if (!ReadDisplayOptions(context, command, args, setting, status))
        return status;
    const std::optional<FindPattern> value = ValuePattern(args.Positional()[1], setting.radix, setting.unit);
    if (!value)
        return context.Failure("'" + args.Positional()[1]
                               + "' is no value of this radix and unit; nothing was written");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixDoc* document = session.Open(args.Positional()[0]);
    if (!document)
        return kExitFailure;
    std::string error;
    const auto device = ParseDeviceArg(*deviceText, session.App().Plc().m_aDeviceInfo, false, error);
    if (!device)
        return context.UsageError(command, error);
    const CEditData* block = document->FindBlock(device->code, device->bank.value_or(0));
    if (!block)
        return context.Failure("the file holds no block of " + *deviceText);
    if (start < block->StartAddr || end > block->EndAddr)
        return context.Failure("the block holds the addresses " + std::to_string(block->StartAddr) + " to "
                               + std::to_string(block->EndAddr));

    // Every cell that lies wholly within the addresses, in one write.
    const std::size_t cellBytes = value->bytes.size();
    std::vector<std::uint8_t> bytes = block->Data;
    std::size_t first = bytes.size();
    std::size_t last = 0;
    for (std::size_t offset = 0; offset + cellBytes <= bytes.size(); offset += cellBytes) {
        if (AddressOf(*block, offset) < start || AddressOf(*block, offset + cellBytes - 1) > end)
            continue;
        std::copy(value->bytes.begin(), value->bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        first = std::min(first, offset);
        last = offset + cellBytes;
    }
    if (first >= last)
        return context.Failure("no whole cell of " + std::to_string(cellBytes * 8) + " bits lies in " + *rangeText);
    document->WriteBlockBytes(static_cast<std::int32_t>(first), bytes.data() + first,
                              static_cast<std::int32_t>(last - first), block->Id, block->BankNo);
    if (args.Has("yes"))
        context.Messages().AnswerEveryQuestion(platform::MsgAnswer::Yes);
    return session.SaveAs(*document, document->GetPathName()) ? kExitOk : kExitFailure;
}

} // namespace

std::vector<CliCommand> FindCommands()
{
    return {
        {"find",
         "find FILE [--device DEVICE] [--radix R] [--unit U] VALUE",
         "print the device and address of every cell holding VALUE; exit 0 found, 1 not found",
         {{"device"}, {"radix"}, {"unit"}},
         RunFind},
        {"fill",
         "fill FILE --device DEVICE --range START-END [--radix R] [--unit U] [--yes] VALUE",
         "write VALUE into every cell between the addresses START and END and save FILE",
         {{"device"}, {"range"}, {"radix"}, {"unit"}, {"yes", false}},
         RunFill},
    };
}
