#pragma once

#include "grid/DisplaySetting.h"

class CliArgs;
class CliContext;
struct CliCommand;

// Reads --radix, --unit and (when declared) --columns into a display setting;
// the real radixes bring their own unit. False after a usage error, whose exit
// status is in status.
bool ReadDisplayOptions(CliContext& context, const CliCommand& command, const CliArgs& args, DisplaySetting& setting,
                        int& status);
