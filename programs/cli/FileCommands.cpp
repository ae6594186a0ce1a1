#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "programs/cli/CliCommand.h"
#include "programs/cli/CodePageOption.h"
#include "programs/cli/CliDocument.h"
#include "programs/cli/DeviceArg.h"
#include "programs/cli/SelectRange.h"
#include "programs/cli/NumberArgs.h"
#include "model/DeviceLists.h"
#include "resources/Messages.h"
#include "platform/ConsoleMessageBox.h"
#include "resources/ResourceIds.h"

#include <ostream>

namespace {

// With --yes, the question about data a file type cannot hold is answered Yes.
void AnswerQuestions(CliContext& context, const CliArgs& args)
{
    if (args.Has("yes"))
        context.Messages().AnswerEveryQuestion(platform::MsgAnswer::Yes);
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
        if (!arg || !SelectRange(*arg, model.FLBankNum, devices, banks, error))
            return context.UsageError(command, error);
    }
    SwapReversedRanges(devices, banks);

    PlcChoice& plc = app.Plc();
    plc.SetModel(model, catalogue.devices);
    plc.RefreshLdtFormat();
    plc.SetDeviceLists(std::move(devices), std::move(banks));
    app.SetStartMode(START_NEW);

    CMemorixDoc* document = app.NewDocument(session.Host());
    if (!document) {
        ShowResourceMessage(app.Messages(), app.Strings(), res::IDS_NO_DEVICE_SELECTED, platform::MsgIcon::Exclamation);
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
        {"new",
         "new FILE --model ID [--select DEVICE[:START-END]]... [--yes]",
         "create a blank data file of a model; without --select every device with its default range",
         {{"model"}, {"select", true, true}, {"yes", false}},
         RunNew},
        {"info", "info FILE", "print the model and the blocks of a data file", {}, RunInfo},
        {"convert",
         "convert IN OUT [--yes] [--code-page N]",
         "open IN and save it as OUT, in the format of OUT's extension",
         {{"yes", false}, kCodePageOption},
         RunConvert},
    };
}
