#include "programs/cli/CliCommand.h"
#include "programs/cli/CodePageOption.h"
#include "programs/cli/CliDocument.h"
#include "programs/cli/DeviceArg.h"
#include "programs/cli/DisplayOptions.h"
#include "programs/cli/NumberArgs.h"
#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "grid/DevicePrefix.h"
#include "grid/GridHeader.h"
#include "grid/GridLayout.h"
#include "platform/ConsoleMessageBox.h"

#include <ostream>

namespace {

// The document and the block a grid command works on.
struct GridTarget {
    CMemorixDoc* document = nullptr;
    const CEditData* block = nullptr;
    DisplaySetting setting;
    std::string prefix;
};

// Checks the number of positional arguments, opens FILE (the first of them)
// and finds the block of --device. False after a message; status holds the
// exit status. A command that saves FILE again opens it for a change.
bool OpenTarget(CliContext& context, const CliCommand& command, const CliArgs& args, std::size_t positionals,
                const char* usage, CliDocumentSession& session, GridTarget& target, int& status, bool change = false)
{
    if (args.Positional().size() != positionals) {
        status = context.UsageError(command, usage);
        return false;
    }
    if (!ReadDisplayOptions(context, command, args, target.setting, status))
        return false;
    const auto deviceText = args.Value("device");
    if (!deviceText) {
        status = context.UsageError(command, "--device is required");
        return false;
    }
    status = kExitFailure;
    if (!session.Ok())
        return false;
    const std::string& path = args.Positional().front();
    target.document = change ? session.OpenForChange(path) : session.Open(path);
    if (!target.document)
        return false;

    std::string error;
    const auto arg = ParseDeviceArg(*deviceText, session.App().Plc().m_aDeviceInfo, false, error);
    if (!arg) {
        status = context.UsageError(command, error);
        return false;
    }
    const std::int16_t bank = arg->bank.value_or(0);
    target.block = target.document->FindBlock(arg->code, bank);
    if (!target.block) {
        status = context.Failure("the file holds no block of " + *deviceText
                                 + (arg->bank ? "" : " (name a bank with #, e.g. FL#1)"));
        return false;
    }
    target.prefix = DevicePrefix(arg->code, DispDevStrings(session.App().Plc().m_aDeviceInfo));
    return true;
}

bool Save(CliContext& context, const CliArgs& args, CliDocumentSession& session, CMemorixDoc& document)
{
    if (args.Has("yes"))
        context.Messages().AnswerEveryQuestion(platform::MsgAnswer::Yes);
    return session.SaveAs(document, document.GetPathName());
}

int RunDump(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    CliDocumentSession session(context);
    GridTarget target;
    int status = kExitOk;
    if (!OpenTarget(context, command, args, 1, "give one FILE", session, target, status))
        return status;

    const GridLayout layout(*target.block, target.setting, target.prefix);
    const std::vector<stListHeadInfo> heads = BuildHeadInfo(layout, 12);
    for (std::size_t k = 0; k < heads.size(); ++k)
        context.out << (k ? "\t" : "") << heads[k].Text;
    context.out << '\n';
    for (int row = 0; row < layout.Rows(); ++row) {
        for (int k = 0; k < layout.ListColumns(); ++k)
            context.out << (k ? "\t" : "") << layout.FormatCell(row, k);
        context.out << '\n';
    }
    return kExitOk;
}

int RunSet(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    const auto cellText = args.Value("cell");
    const auto cell = cellText ? ParseIntArg(*cellText) : std::nullopt;
    if (!cell || *cell < 0)
        return context.UsageError(command, "--cell takes a cell number from 0");
    CliDocumentSession session(context);
    GridTarget target;
    int status = kExitOk;
    if (!OpenTarget(context, command, args, 2, "give FILE and TEXT", session, target, status, true))
        return status;

    const int bytes = codec::GetCellBytes(target.setting.unit);
    const std::int64_t offset = static_cast<std::int64_t>(*cell) * bytes;
    if (offset + bytes > static_cast<std::int64_t>(target.block->Data.size()))
        return context.Failure("the block has " + std::to_string(target.block->Data.size() / bytes) + " cells of "
                               + std::to_string(bytes * 8) + " bits");
    const std::string& text = args.Positional()[1];
    // A text the codec rejects writes nothing: the file stays as it was. (The
    // grid's paste stores such a field as 0, which is a rule of the grid.)
    std::vector<std::uint8_t> value;
    const codec::Radix radix = target.setting.radix;
    std::uint64_t real = 0;
    const bool isReal = radix == codec::RADIX_FLOAT || radix == codec::RADIX_DOUBLE;
    if (!codec::ParseCellText(text, radix, target.setting.unit, value)
        || (isReal && codec::ParseRealText(text, radix, real) != codec::PARSE_OK))
        return context.Failure("'" + text + "' is not a valid value for this cell; nothing was written");
    const CEditData& block = *target.block;
    target.document->WriteBlockBytes(static_cast<std::int32_t>(offset), value.data(), bytes, block.Id, block.BankNo);
    return Save(context, args, session, *target.document) ? kExitOk : kExitFailure;
}

int RunExport(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    int filter = 1;
    if (const auto text = args.Value("filter")) {
        const auto parsed = ParseIntArg(*text);
        if (!parsed || *parsed < 1)
            return context.UsageError(command, "--filter takes a filter number from 1");
        filter = *parsed;
    }
    CliDocumentSession session(context);
    GridTarget target;
    int status = kExitOk;
    if (!OpenTarget(context, command, args, 2, "give FILE and OUT", session, target, status))
        return status;
    const GridLayout layout(*target.block, target.setting, target.prefix);
    if (!ExportCsv(layout, args.Positional()[1], filter))
        return context.Failure("cannot write " + args.Positional()[1]);
    return kExitOk;
}

int RunImport(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    CliDocumentSession session(context);
    GridTarget target;
    int status = kExitOk;
    if (!OpenTarget(context, command, args, 2, "give FILE and IN", session, target, status, true))
        return status;
    const GridLayout layout(*target.block, target.setting, target.prefix);
    CsvImportReport report;
    const auto data = ImportCsv(layout, args.Positional()[1], &report);
    if (!data)
        return context.Failure("cannot read " + args.Positional()[1]
                               + (report.failure.empty() ? std::string() : ": " + report.failure));
    if (report.invalidFields > 0) {
        std::string where;
        for (const CsvImportReport::Position& position : report.firstInvalid)
            where += (where.empty() ? "" : ", ") + std::to_string(position.line) + ":" + std::to_string(position.field);
        if (report.invalidFields > report.firstInvalid.size())
            where += ", ...";
        const std::string count =
            std::to_string(report.invalidFields) + " field" + (report.invalidFields == 1 ? " was" : "s were");
        if (args.Has("strict"))
            return context.Failure(count + " not valid (line:field " + where + "); nothing was written");
        context.err << "memorix-cli: " << count << " not valid and became 0 (line:field " << where << ")\n";
    }
    const CEditData& block = *target.block;
    target.document->WriteBlockBytes(0, data->data(), static_cast<std::int32_t>(data->size()), block.Id, block.BankNo);
    return Save(context, args, session, *target.document) ? kExitOk : kExitFailure;
}

const CliArgs::Option kRadix{"radix"};
const CliArgs::Option kUnit{"unit"};
const CliArgs::Option kColumns{"columns"};
const CliArgs::Option kDevice{"device"};
const CliArgs::Option kYes{"yes", false};
const CliArgs::Option kStrict{"strict", false};

} // namespace

std::vector<CliCommand> GridCommands()
{
    return {
        {"dump",
         "dump FILE --device DEVICE [--radix R] [--unit U] [--columns N] [--code-page N]",
         "print the grid of one block: headers, then a row label, the cells and (hex) the text per line",
         {kDevice, kRadix, kUnit, kColumns, kCodePageOption},
         RunDump},
        {"set",
         "set FILE --device DEVICE --cell N [--radix R] [--unit U] [--yes] TEXT",
         "write cell N (counted from 0 in cells of the unit) and save FILE; a text that is no value of the radix and "
         "unit writes nothing",
         {kDevice, {"cell"}, kRadix, kUnit, kYes},
         RunSet},
        {"export",
         "export FILE OUT --device DEVICE [--radix R] [--unit U] [--columns N] [--filter K] [--code-page N]",
         "write the block as CSV (.csv: commas, .txt: tabs; other names: commas for filter 1)",
         {kDevice, kRadix, kUnit, kColumns, {"filter"}, kCodePageOption},
         RunExport},
        {"import",
         "import FILE IN --device DEVICE [--radix R] [--unit U] [--columns N] [--yes] [--strict] [--code-page N]",
         "read CSV or tab-separated text into the block from its first cell, and save FILE; fields that are not "
         "valid become 0 and are counted on standard error (--strict: such a file writes nothing)",
         {kDevice, kRadix, kUnit, kColumns, kYes, kStrict, kCodePageOption},
         RunImport},
    };
}
