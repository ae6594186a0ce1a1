// diff: two data files compared word by word (plc-diff, the same against the
// PLC, is with the other PLC commands).

#include "codec/ValueCodec.h"
#include "grid/DevicePrefix.h"
#include "programs/cli/CliCommand.h"
#include "programs/cli/CliDocument.h"
#include "programs/cli/CompareOutput.h"
#include "programs/cli/DisplayOptions.h"
#include "document/ReadDataFile.h"

#include <ostream>

namespace {

constexpr std::int64_t kWordBytes = 2;

bool Wanted(const DiffOptions& options, std::uint8_t code, std::int16_t bank)
{
    return !options.device || (options.device->code == code && options.device->bank.value_or(bank) == bank);
}

// Only the cells that hold a differing word are looked at, so a large block
// with few differences costs little.
void PrintCells(CliContext& context, const compare::Comparison& comparison, const CEditData& block,
                const std::string& device, const DisplaySetting& setting)
{
    const compare::BlockResult* result = comparison.Find(block.Id, block.BankNo);
    if (!result)
        return;
    const int cellBytes = codec::GetCellBytes(setting.unit);
    const int words = std::max<int>(1, cellBytes / kWordBytes);
    const std::int64_t cells = static_cast<std::int64_t>(block.Data.size()) / cellBytes;
    const int cellsPerWord = std::max<int>(1, kWordBytes / cellBytes);
    std::int64_t printed = -1;
    for (const std::int64_t differing : result->differingWords) {
        const std::int64_t firstCell = differing * kWordBytes / cellBytes;
        for (std::int64_t cell = std::max(firstCell, printed + 1); cell < firstCell + cellsPerWord && cell < cells;
             ++cell) {
            printed = cell;
            const std::int64_t byte = cell * cellBytes;
            const std::int64_t word = byte / kWordBytes;
            if (comparison.MarkOf(block.Id, block.BankNo, word, words) != compare::CellMark::Differs)
                continue;
            std::span<const std::uint8_t> theirs = comparison.TheirBytes(block.Id, block.BankNo, word, words);
            const std::span<const std::uint8_t> ours(block.Data.data() + byte, static_cast<std::size_t>(cellBytes));
            if (cellBytes < kWordBytes) {
                theirs = theirs.subspan(static_cast<std::size_t>(byte % kWordBytes), 1);
                if (theirs[0] == ours[0])
                    continue;
            }
            const std::int64_t address = block.StartAddr + word / std::max(1, block.DataSize);
            context.out << device << '\t' << address << '\t'
                        << codec::FormatCellValue(ours, setting.radix, setting.unit) << '\t'
                        << codec::FormatCellValue(theirs, setting.radix, setting.unit) << '\n';
        }
    }
}

int RunDiff(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 2)
        return context.UsageError(command, "give the two files A and B");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitTrouble;
    CMemorixDoc* ours = session.Open(args.Positional()[0]);
    if (!ours)
        return kExitTrouble;
    const PlcChoice& ourPlc = session.App().Plc();
    DiffOptions options;
    if (!ReadDiffOptions(context, command, args, ourPlc.m_aDeviceInfo, options))
        return kExitTrouble;
    const std::string& theirPath = args.Positional()[1];
    if (!IsDataFilePath(theirPath)) {
        context.err << "memorix-cli: " << theirPath << " is not a Memorix data file (.ldtx or .ldt)\n";
        return kExitTrouble;
    }
    PlcChoice theirPlc;
    EditDataArray theirs;
    CMemorixApp& app = session.App();
    if (!ReadOtherDataFile(app.Messages(), app.Strings(), app.CataloguePath(), theirPath, theirPlc, theirs))
        return kExitTrouble;
    const compare::Comparison comparison(ours->Blocks(), std::move(theirs), NoteModels(context, ourPlc, theirPlc));
    return PrintComparison(context, comparison, ours->Blocks(), ourPlc.m_aDeviceInfo, options);
}

} // namespace

bool NoteModels(CliContext& context, const PlcChoice& ours, const PlcChoice& theirs)
{
    if (ours.m_nPLCId == theirs.m_nPLCId)
        return false;
    context.err << "memorix-cli: the models differ (" << ours.m_strPLCName << " and " << theirs.m_strPLCName
                << "); blocks are matched by device and bank\n";
    return true;
}

bool ReadDiffOptions(CliContext& context, const CliCommand& command, const CliArgs& args,
                     const DeviceInfoArray& devices, DiffOptions& options)
{
    int status = kExitOk;
    if (!ReadDisplayOptions(context, command, args, options.setting, status))
        return false;
    options.summary = args.Has("summary");
    if (const auto text = args.Value("device")) {
        std::string error;
        options.device = ParseDeviceArg(*text, devices, false, error);
        if (!options.device) {
            context.UsageError(command, error);
            return false;
        }
    }
    return true;
}

int PrintComparison(CliContext& context, const compare::Comparison& comparison, const EditDataArray& ours,
                    const DeviceInfoArray& devices, const DiffOptions& options)
{
    const std::vector<stDispDevString> names = DispDevStrings(devices);
    std::int64_t differing = 0;
    for (const compare::BlockResult& result : comparison.Blocks()) {
        if (!Wanted(options, result.deviceCode, result.bank))
            continue;
        differing += result.DifferingWords();
        const std::string device = BlockName(result.deviceCode, result.bank, names);
        if (options.summary) {
            context.out << device << '\t' << result.bank << '\t' << result.comparedWords << '\t'
                        << result.DifferingWords() << '\t' << result.notComparedWords << '\n';
            continue;
        }
        for (const CEditData& block : ours)
            if (result.ours && block.Id == result.deviceCode && block.BankNo == result.bank)
                PrintCells(context, comparison, block, device, options.setting);
    }
    return differing == 0 ? kExitSame : kExitDifferent;
}

std::vector<CliCommand> CompareCommands()
{
    return {
        {"diff",
         "diff A B [--device DEVICE] [--radix R] [--unit U] [--summary]",
         "compare two data files word by word: one line per differing cell (device, address, A's value, B's "
         "value), or with --summary one per block (device, bank, compared, differing and not compared words); exit "
         "0 identical, 1 different, 2 trouble",
         {{"device"}, {"radix"}, {"unit"}, {"summary", false}},
         RunDiff},
    };
}
