#include "catalogue/CPlcDatabase.h"
#include "programs/cli/CliCommand.h"
#include "programs/cli/NumberArgs.h"
#include "platform/ConsoleMessageBox.h"

#include <ostream>

namespace {

int ListSeriesAndModels(CliContext& context, CPlcDatabase& db)
{
    std::vector<stPLCSeries> series;
    if (db.GetDBPLCSeriesAry(series) < 0)
        return context.Failure("the catalogue could not be read");
    for (const stPLCSeries& s : series) {
        context.out << "series\t" << s.PLCSeriesNo << '\t' << s.SeriesName << '\n';
        std::vector<stPLC> models;
        if (db.GetDBPLCAry(s.PLCSeriesNo, models) < 0)
            return context.Failure("the catalogue could not be read");
        for (const stPLC& m : models) {
            context.out << "model\t" << m.Id << '\t' << m.FullName << '\t' << m.Is16bitCPUFlg << '\t'
                        << static_cast<int>(m.FLBankNum) << '\t' << m.DefaultDataRegSize << '\n';
        }
    }
    return kExitOk;
}

int ListDevices(CliContext& context, CPlcDatabase& db, int modelId)
{
    stPLC model;
    const int found = db.GetDBPLCRec(model, modelId);
    if (found < 0)
        return context.Failure("the catalogue could not be read");
    if (found == 0)
        return context.Failure("model " + std::to_string(modelId) + " is not in the catalogue");
    std::vector<stDeviceInst> devices;
    if (db.GetDBDeviceInstAry(devices, modelId, -1) < 0)
        return context.Failure("the catalogue could not be read");
    if (!db.CheckModelRows(model, devices))
        return kExitFailure;
    for (const stDeviceInst& d : devices) {
        context.out << "device\t" << static_cast<int>(d.Id) << '\t' << d.Name << '\t' << d.MinValue << '\t'
                    << d.MaxValue << '\t' << d.DataSize << '\n';
    }
    return kExitOk;
}

int RunCatalogue(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (!args.Positional().empty())
        return context.UsageError(command, "unexpected argument '" + args.Positional().front() + "'");
    std::optional<int> modelId;
    if (const auto text = args.Value("model")) {
        modelId = ParseIntArg(*text);
        if (!modelId)
            return context.UsageError(command, "--model takes a model id, not '" + *text + "'");
    }

    CPlcDatabase db(context.Messages());
    if (db.DBConnect(true) != 1)
        return kExitFailure; // the message box has said why
    const int result = modelId ? ListDevices(context, db, *modelId) : ListSeriesAndModels(context, db);
    db.DBConnect(false);
    return result;
}

} // namespace

std::vector<CliCommand> CatalogueCommands()
{
    return {{
        "catalogue",
        "catalogue [--model ID]",
        "list the series and models of the catalogue, or the devices of one model",
        {{"model"}},
        RunCatalogue,
    }};
}
