#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "cli/CliCommand.h"
#include "cli/CodePageOption.h"
#include "cli/CliDocument.h"
#include "cli/DeviceArg.h"
#include "cli/NumberArgs.h"
#include "core/model/DeviceLists.h"
#include "resources/Messages.h"
#include "platform/ConsoleMessageBox.h"
#include "resources/ResourceIds.h"

#include <ostream>

namespace {

// With --yes, the question about data a file type cannot hold is answered Yes.
void AnswerQuestions(CliContext& context, const CliArgs& args)
{
    if (args.Has("yes"))
        context.Messages().ScriptAnswer(platform::MsgAnswer::Yes);
}

bool WithinDevice(std::int32_t address, std::int32_t minValue, std::int32_t maxValue)
{
    return address >= minValue && address <= maxValue;
}

template <class Entry>
bool ApplyRange(Entry& entry, const DeviceArg& arg, std::string& error)
{
    entry.StartAddr = arg.start.value_or(entry.MinValue);
    entry.EndAddr = arg.end.value_or(entry.DefaultEnd);
    if (arg.start && (!WithinDevice(*arg.start, entry.MinValue, entry.MaxValue)
                       || !WithinDevice(*arg.end, entry.MinValue, entry.MaxValue))) {
        error = entry.Name + " holds the addresses " + std::to_string(entry.MinValue) + " to "
            + std::to_string(entry.MaxValue);
        return false;
    }
    entry.Selected = 1;
    return true;
}

// Marks one --select in the lists.
bool Select(const DeviceArg& arg, std::uint8_t bankCount, DeviceInfoArray& devices, BankInfoArray& banks,
            std::string& error)
{
    for (stDeviceInfo& device : devices) {
        if (device.Id != arg.code)
            continue;
        if (!PlcChoice::IsFLBankDevice(device.Id, bankCount)) {
            if (arg.bank) {
                error = device.Name + " has no banks";
                return false;
            }
            return ApplyRange(device, arg, error);
        }
        bool any = false;
        for (_SBankInfo& bank : banks) {
            if (bank.Id != device.Id || (arg.bank && bank.BankNo != *arg.bank))
                continue;
            if (!ApplyRange(bank, arg, error))
                return false;
            any = true;
        }
        if (!any) {
            error = device.Name + " has no bank " + std::to_string(arg.bank.value_or(0));
            return false;
        }
        device.Selected = 1;
        return true;
    }
    error = "the model has no such device";
    return false;
}

int RunNew(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give the FILE to create");
    const std::string path = args.Positional().front();
    if (!IsDataFilePath(path))
        return context.UsageError(command, "FILE must end in .ldtx or .ldt");
    const auto modelText = args.Value("model");
    const auto modelId = modelText ? ParseIntArg(*modelText) : std::nullopt;
    if (!modelId)
        return context.UsageError(command, "--model takes the id of a catalogue model");

    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixApp& app = session.App();

    CPlcDatabase db(app.Messages(), app.CataloguePath());
    if (db.DBConnect(true) != 1)
        return kExitFailure;
    CatalogueModel catalogue;
    DeviceInfoArray devices;
    BankInfoArray banks;
    const bool known = ReadCatalogueModel(db, *modelId, catalogue);
    db.DBConnect(false);
    const stPLC& model = catalogue.model;
    if (known)
        BuildDeviceLists(model, catalogue.devices, app.Strings(), devices, banks);
    if (!known) {
        ShowResourceMessage(app.Messages(), app.Strings(), res::IDS_FILE_UNKNOWN_MODEL, platform::MsgIcon::Stop);
        return kExitFailure;
    }

    const std::vector<std::string> selects = args.Values("select");
    if (selects.empty())
        SelectAllWithDefaults(devices, banks);
    for (const std::string& text : selects) {
        std::string error;
        const auto arg = ParseDeviceArg(text, devices, true, error);
        if (!arg || !Select(*arg, model.FLBankNum, devices, banks, error))
            return context.UsageError(command, error);
    }
    SwapReversedRanges(devices, banks);

    PlcChoice& plc = app.Plc();
    plc.SetModel(model, catalogue.devices);
    plc.RefreshLdtFormat();
    plc.m_aDeviceInfo = std::move(devices);
    plc.m_aBankInfo = std::move(banks);
    app.m_nStartMode = START_NEW;

    CMemorixDoc* document = app.NewDocument(session.Host());
    if (!document) {
        ShowResourceMessage(app.Messages(), app.Strings(), res::IDS_NO_DEVICE_SELECTED,
                            platform::MsgIcon::Exclamation);
        return kExitFailure;
    }
    AnswerQuestions(context, args);
    return session.SaveAs(*document, path) ? kExitOk : kExitFailure;
}

int RunInfo(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give one FILE");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixDoc* document = session.Open(args.Positional().front());
    if (!document)
        return kExitFailure;
    const PlcChoice& plc = session.App().Plc();
    context.out << "model\t" << plc.m_nPLCSeriesNo << '\t' << plc.m_nPLCId << '\t' << plc.m_strPLCName << '\t'
                << plc.m_wLdtFormat << '\n';
    for (const CEditData& block : document->Blocks()) {
        context.out << "block\t" << static_cast<int>(block.Id) << '\t' << block.BankNo << '\t' << block.StartAddr
                    << '\t' << block.EndAddr << '\t' << block.DataSize << '\n';
    }
    return kExitOk;
}

int RunConvert(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 2)
        return context.UsageError(command, "give IN and OUT");
    const std::string& out = args.Positional()[1];
    if (!IsDataFilePath(out))
        return context.UsageError(command, "OUT must end in .ldtx or .ldt");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixDoc* document = session.Open(args.Positional()[0]);
    if (!document)
        return kExitFailure;
    AnswerQuestions(context, args);
    return session.SaveAs(*document, out) ? kExitOk : kExitFailure;
}

} // namespace

std::vector<CliCommand> FileCommands()
{
    return {
        {"new", "new FILE --model ID [--select DEVICE[:START-END]]... [--yes]",
         "create a blank data file of a model; without --select every device with its default range",
         {{"model"}, {"select", true, true}, {"yes", false}}, RunNew},
        {"info", "info FILE", "print the model and the blocks of a data file", {}, RunInfo},
        {"convert", "convert IN OUT [--yes] [--code-page N]", "open IN and save it as OUT, in the format of OUT's extension",
         {{"yes", false}, kCodePageOption}, RunConvert},
    };
}
