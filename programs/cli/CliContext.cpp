#include "programs/cli/CliCommand.h"

#include "platform/ConsoleMessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/IniSettingsStore.h"
#include "resources/CResourceHandle.h"
#include "resources/LanguageLoader.h"

#include <ostream>

CliContext::CliContext(std::ostream& outStream, std::ostream& errStream)
    : out(outStream)
    , err(errStream)
    , m_messages(std::make_unique<platform::ConsoleMessageBox>(stderr))
{
}

CliContext::~CliContext() = default;

platform::ConsoleMessageBox& CliContext::Messages()
{
    return *m_messages;
}

platform::ISettingsStore& CliContext::Settings()
{
    if (!m_settings)
        m_settings = std::make_unique<platform::IniSettingsStore>();
    return *m_settings;
}

const CResourceHandle* CliContext::Strings()
{
    if (!m_stringsTried) {
        m_stringsTried = true;
        auto handle = std::make_unique<CResourceHandle>();
        err.flush();
        if (LoadLanguageResources(Settings(), platform::ProgramFolder(), *handle, *m_messages))
            m_strings = std::move(handle);
    }
    return m_strings.get();
}

int CliContext::UsageError(const CliCommand& command, const std::string& text)
{
    err << "memorix-cli: " << text << "\nusage: memorix-cli " << command.synopsis << "\n";
    return kExitUsage;
}

int CliContext::Failure(const std::string& text)
{
    err << "memorix-cli: " << text << "\n";
    return kExitFailure;
}
