#include "programs/cli/CodePageOption.h"

#include "programs/cli/CliCommand.h"
#include "programs/cli/NumberArgs.h"
#include "platform/CodePages.h"
#include "resources/CodePageChoice.h"

#include <algorithm>

bool ApplyCodePageOption(CliContext& context, const CliCommand& command, const CliArgs& args, int& status)
{
    const bool declared =
        std::any_of(command.options.begin(), command.options.end(),
                    [](const CliArgs::Option& option) { return option.name == kCodePageOption.name; });
    if (!declared)
        return true;
    const auto text = args.Value(kCodePageOption.name);
    if (!text) {
        SelectChosenCodePage(context.Settings());
        return true;
    }
    const auto number = ParseIntArg(*text);
    if (!number || !platform::SelectAnsiCodePage(*number)) {
        std::string known;
        for (const int page : platform::AvailableCodePages())
            known += (known.empty() ? "" : ", ") + std::to_string(page);
        status = context.UsageError(command, "unknown code page '" + *text + "' (" + known + ")");
        return false;
    }
    return true;
}
