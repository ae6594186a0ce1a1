#pragma once

#include "programs/cli/CliArgs.h"

class CliContext;
struct CliCommand;

// The --code-page option of the commands that read or write text: the number
// of a Windows code page (1252, 932, 936, 949, 950). Without it the settings
// choose, as in the program.
inline const CliArgs::Option kCodePageOption{"code-page"};

// Selects the code page for a command that declares the option. False after a
// usage error, whose exit status is in status.
bool ApplyCodePageOption(CliContext& context, const CliCommand& command, const CliArgs& args, int& status);
