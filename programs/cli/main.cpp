#include "programs/cli/CliCommand.h"
#include "programs/cli/CodePageOption.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kVersion = "0.1.0";

void PrintHelp(std::ostream& out)
{
    out << "memorix-cli - the Memorix PLC memory editor on the command line\n\n"
           "usage: memorix-cli COMMAND [OPTIONS] [ARGUMENTS]\n"
           "       memorix-cli --help | --version\n\n"
           "commands:\n";
    for (const CliCommand& command : CliCommands())
        out << "  " << command.synopsis << "\n      " << command.summary << "\n";
    out << "\nradixes: bin oct dec hex float double (or 0-5); units: 8 16 32 64\n"
           "code pages (text column, CSV, file comments): 1252 932 936 949 950\n"
           "exit status: 0 success, 1 failure (the message on standard error), 2 usage error\n";
}

// A command's own help: its usage line, what it does and its options.
void PrintCommandHelp(std::ostream& out, const CliCommand& command)
{
    out << "usage: memorix-cli " << command.synopsis << "\n\n" << command.summary << "\n";
    if (!command.options.empty()) {
        out << "\noptions:\n";
        for (const CliArgs::Option& option : command.options)
            out << "  --" << option.name << (option.takesValue ? " VALUE" : "")
                << (option.repeatable ? "  (may be given more than once)" : "") << "\n";
    }
}

// --help or -h among a command's words, before a "--" that ends the options.
bool AsksForHelp(const std::vector<std::string>& words)
{
    for (const std::string& word : words) {
        if (word == "--")
            return false;
        if (word == "--help" || word == "-h")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    const std::string name = words.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    if (name == "--version") {
        std::cout << "memorix-cli " << kVersion << "\n";
        return kExitOk;
    }

    for (const CliCommand& command : CliCommands()) {
        if (command.name != name)
            continue;
        CliContext context(std::cout, std::cerr);
        words.erase(words.begin());
        if (AsksForHelp(words)) {
            PrintCommandHelp(std::cout, command);
            return kExitOk;
        }
        CliArgs args;
        std::string error;
        if (!args.Parse(words, command.options, error))
            return context.UsageError(command, error);
        int status = kExitOk;
        if (!ApplyCodePageOption(context, command, args, status))
            return status;
        return command.run(context, command, args);
    }
    std::cerr << "memorix-cli: unknown command '" << name << "'\n\n";
    PrintHelp(std::cerr);
    return kExitUsage;
}
