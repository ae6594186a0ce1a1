#pragma once

#include "app/CMemorixApp.h"
#include "document/CMemorixDoc.h"
#include "document/IDocumentHost.h"
#include "platform/DenyWriteFile.h"

#include <memory>
#include <string>

class CliContext;

// The application object of one command-line run, with a document host that
// has no windows. Messages go to standard error.
class CliDocumentSession {
public:
    explicit CliDocumentSession(CliContext& context);
    ~CliDocumentSession();

    // False when the language library could not be loaded (the reason was shown).
    bool Ok() const { return m_app != nullptr; }
    CMemorixApp& App() { return *m_app; }
    NullDocumentHost& Host() { return m_host; }

    // Opens FILE as the document; null after the reader's message.
    CMemorixDoc* Open(const std::string& path);
    // The same for a command that changes FILE and saves it: FILE is held from
    // here until the session ends, so that two programs changing it at once
    // take turns instead of one of them losing its change unseen.
    CMemorixDoc* OpenForChange(const std::string& path);
    // Saves the document to path by its extension; false after the writer's message.
    bool SaveAs(CMemorixDoc& document, const std::string& path);

private:
    CliContext& m_context;
    NullDocumentHost m_host;
    std::unique_ptr<CMemorixApp> m_app;
    platform::DenyWriteFile m_hold;
};

// True when the path ends in ".ldtx" or ".ldt" (any case).
bool IsDataFilePath(const std::string& path);
