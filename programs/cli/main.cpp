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
