#pragma once

#include "programs/cli/CliArgs.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CResourceHandle;
namespace platform {
class ConsoleMessageBox;
class ISettingsStore;
} // namespace platform

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CliCommand;

// What a command works with: its output streams, the message box (standard
// error), the settings, and the language library once a command asks for it.
class CliContext {
public:
    CliContext(std::ostream& out, std::ostream& err);
    ~CliContext();

    std::ostream& out;
    std::ostream& err;

    platform::ConsoleMessageBox& Messages();
    platform::ISettingsStore& Settings();
    // Null when the language library cannot be loaded; the reason was shown.
    const CResourceHandle* Strings();

    // Prints "memorix-cli: <text>" and the command's usage; returns kExitUsage.
    int UsageError(const CliCommand& command, const std::string& text);
    // Prints "memorix-cli: <text>"; returns kExitFailure.
    int Failure(const std::string& text);

private:
    std::unique_ptr<platform::ConsoleMessageBox> m_messages;
    std::unique_ptr<platform::ISettingsStore> m_settings;
    std::unique_ptr<CResourceHandle> m_strings;
    bool m_stringsTried = false;
};

struct CliCommand {
    std::string name;
    std::string synopsis; // the usage line after "memorix-cli "
    std::string summary;  // one line for --help
    std::vector<CliArgs::Option> options;
    std::function<int(CliContext&, const CliCommand&, const CliArgs&)> run;
};

// Every command, in the order --help lists them.
const std::vector<CliCommand>& CliCommands();

// Registration from each command's own file.
std::vector<CliCommand> CatalogueCommands();
std::vector<CliCommand> CodecCommands();
std::vector<CliCommand> FileCommands();
std::vector<CliCommand> GridCommands();
std::vector<CliCommand> PlcCommands();
std::vector<CliCommand> DetectCommands();
std::vector<CliCommand> WatchCommands();
std::vector<CliCommand> CompareCommands();
std::vector<CliCommand> FindCommands();
