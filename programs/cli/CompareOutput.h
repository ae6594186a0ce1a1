#pragma once

#include "compare/BlockCompare.h"
#include "grid/DisplaySetting.h"
#include "model/DeviceModel.h"
#include "model/PlcChoice.h"
#include "programs/cli/DeviceArg.h"

#include <optional>
#include <string>

class CliArgs;
class CliContext;
struct CliCommand;

// diff and plc-diff answer as cmp and diff do.
inline constexpr int kExitSame = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitTrouble = 2;

// What diff and plc-diff print: --device, --radix, --unit, --summary.
struct DiffOptions {
    std::optional<DeviceArg> device;
    DisplaySetting setting;
    bool summary = false;
};

// Reads the options against the devices of our model; false after a usage error.
bool ReadDiffOptions(CliContext& context, const CliCommand& command, const CliArgs& args,
                     const DeviceInfoArray& devices, DiffOptions& options);

// Says on standard error when the two models differ; true then.
bool NoteModels(CliContext& context, const PlcChoice& ours, const PlcChoice& theirs);

// Prints one line per differing cell, or with --summary one per block, and
// returns kExitSame or kExitDifferent.
int PrintComparison(CliContext& context, const compare::Comparison& comparison, const EditDataArray& ours,
                    const DeviceInfoArray& devices, const DiffOptions& options);
