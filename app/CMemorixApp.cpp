#include "app/CMemorixApp.h"

#include "document/IDocumentHost.h"
#include "resources/IStringTable.h"
#include "resources/LanguageLoader.h"
#include "resources/ResourceIds.h"

#include <stdexcept>
#include <utility>

namespace {

CMemorixApp* g_instance = nullptr;

} // namespace

CMemorixApp::CMemorixApp(AppServices services)
    : m_services(std::move(services))
    , m_Comm(m_services.messages, m_services.strings, m_services.cataloguePath, m_Plc,
             GetLanguageIndex(m_services.settings))
{
    m_Comm.SetRequestLog(&m_requestLog);
    if (g_instance)
        throw std::logic_error("there is already an application object");
    g_instance = this;
}

CMemorixApp::~CMemorixApp()
{
    m_pDocument.reset();
    m_UndoMap.Clear(); // every snapshot file goes with the application
    m_LdtFile.Close();
    g_instance = nullptr;
}

CMemorixApp* CMemorixApp::Instance()
{
    return g_instance;
}

DocumentContext CMemorixApp::Context()
{
    return {
        m_services.messages, m_services.strings, m_services.cataloguePath, m_Plc, m_LdtFile, m_nFilterIndex, &m_Comm};
}

bool CMemorixApp::CanReplaceDocument()
{
    return !m_pDocument || m_pDocument->SaveModified();
}

void CMemorixApp::CloseDocument()
{
    if (!m_pDocument)
        return;
    std::unique_ptr<CMemorixDoc> closing = std::move(m_pDocument);
    closing->OnCloseDocument();
}

CMemorixDoc* CMemorixApp::NewDocument(IDocumentHost& host)
{
    CloseDocument();
    auto document = std::make_unique<CMemorixDoc>(Context(), host);
    document->SetTitle(UntitledName());
    if (!document->OnNewDocument(m_nStartMode)) {
        host.DocumentClosed();
        return nullptr;
    }
    m_pDocument = std::move(document);
    return m_pDocument.get();
}

CMemorixDoc* CMemorixApp::OpenDocumentFile(const std::string& path, IDocumentHost& host)
{
    CloseDocument();
    auto document = std::make_unique<CMemorixDoc>(Context(), host);
    if (!document->OnOpenDocument(path)) {
        // No document means no PLC: the file's model may have been stored
        // before the open failed.
        ResetPlcState();
        host.DocumentClosed();
        return nullptr;
    }
    document->SetPathName(path, true);
    m_pDocument = std::move(document);
    return m_pDocument.get();
}

std::string CMemorixApp::UntitledName()
{
    // The second field of the document strings is the base of new documents' names.
    const std::string strings = m_services.strings.LoadString(res::IDS_DOC_TEMPLATE);
    std::string base = "Untitled";
    const std::size_t first = strings.find('\n');
    if (first != std::string::npos) {
        const std::size_t second = strings.find('\n', first + 1);
        const std::string field =
            strings.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        if (!field.empty())
            base = field;
    }
    return base + std::to_string(++m_nUntitledCount);
}
