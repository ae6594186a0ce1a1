#include "programs/cli/DisplayOptions.h"

#include "programs/cli/CliCommand.h"
#include "programs/cli/NumberArgs.h"

bool ReadDisplayOptions(CliContext& context, const CliCommand& command, const CliArgs& args, DisplaySetting& setting,
                        int& status)
{
    setting = DisplaySetting{};
    if (const auto text = args.Value("radix")) {
        const auto radix = ParseRadixArg(*text);
        if (!radix) {
            status = context.UsageError(command, "unknown radix '" + *text + "'");
            return false;
        }
        setting.radix = *radix;
    }
    std::optional<codec::Unit> givenUnit;
    if (const auto text = args.Value("unit")) {
        givenUnit = ParseUnitArg(*text);
        if (!givenUnit) {
            status = context.UsageError(command, "unknown unit '" + *text + "' (8, 16, 32 or 64)");
            return false;
        }
        setting.unit = *givenUnit;
    }
    if (setting.radix == codec::RADIX_FLOAT || setting.radix == codec::RADIX_DOUBLE) {
        const bool single = setting.radix == codec::RADIX_FLOAT;
        const codec::Unit realUnit = single ? codec::UNIT_32BIT : codec::UNIT_64BIT;
        if (givenUnit && *givenUnit != realUnit) {
            status = context.UsageError(command, single ? "float cells are 32 bits" : "double cells are 64 bits");
            return false;
        }
        setting.unit = realUnit;
    }
    if (const auto text = args.Value("columns")) {
        const auto columns = ParseIntArg(*text);
        if (!columns || *columns < 1 || *columns > 16) {
            status = context.UsageError(command, "--columns takes 1 to 16");
            return false;
        }
        setting.columnSetting = *columns;
    }
    return true;
}
