#include "programs/cli/CliDocument.h"

#include "catalogue/CPlcDatabase.h"
#include "programs/cli/CliCommand.h"
#include "platform/ConsoleMessageBox.h"
#include "resources/CResourceHandle.h"

#include <ostream>

CliDocumentSession::CliDocumentSession(CliContext& context)
    : m_context(context)
{
    if (const CResourceHandle* strings = context.Strings())
        m_app = std::make_unique<CMemorixApp>(
            AppServices{context.Messages(), *strings, context.Settings(), CatalogueLocation()});
}

CliDocumentSession::~CliDocumentSession() = default;

CMemorixDoc* CliDocumentSession::Open(const std::string& path)
{
    if (!IsDataFilePath(path)) {
        m_context.err << "memorix-cli: " << path << " is not a Memorix data file (.ldtx or .ldt)\n";
        return nullptr;
    }
    return m_app->OpenDocumentFile(path, m_host);
}

CMemorixDoc* CliDocumentSession::OpenForChange(const std::string& path)
{
    if (!IsDataFilePath(path))
        return Open(path);
    if (!m_hold.Open(path, platform::DenyWriteFile::Access::Modify)) {
        m_context.err << "memorix-cli: cannot change " << path << ": " << m_hold.ErrorText() << '\n';
        return nullptr;
    }
    return m_app->OpenDocumentFile(path, m_host);
}

bool CliDocumentSession::SaveAs(CMemorixDoc& document, const std::string& path)
{
    if (!document.OnSaveDocument(path))
        return false;
    document.SetPathName(path, false);
    return true;
}

bool IsDataFilePath(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    return extension == ".ldtx" || extension == ".ldt";
}
