#pragma once

// The one application object: the current PLC with its device and bank lists,
// the legacy file header values, the start mode of the next new document and
// the services the rest of the program reaches through it.

#include "transfer/CTesknetComm.h"
#include "document/AppServices.h"
#include "document/CMemorixDoc.h"
#include "document/DocumentContext.h"
#include "document/IAppState.h"
#include "model/PlcChoice.h"
#include "undo/CUndoMap.h"
#include "platform/DenyWriteFile.h"

#include <cstdint>
#include <memory>
#include <string>

class IDocumentHost;
class IStringTable;
namespace platform {
class IMessageBox;
class ISettingsStore;
} // namespace platform

class CMemorixApp final : public IAppState {
public:
    // There is at most one application object at a time; a second one throws std::logic_error.
    explicit CMemorixApp(AppServices services);
    ~CMemorixApp() override;
    CMemorixApp(const CMemorixApp&) = delete;
    CMemorixApp& operator=(const CMemorixApp&) = delete;

    // The live application object, or null.
    static CMemorixApp* Instance();

    const AppServices& Services() const { return m_services; }
    platform::IMessageBox& Messages() const override { return m_services.messages; }
    const IStringTable& Strings() const override { return m_services.strings; }
    platform::ISettingsStore& Settings() const override { return m_services.settings; }
    const std::string& CataloguePath() const override { return m_services.cataloguePath; }

    // The current PLC: model, lists and legacy file values. Commands that let
    // the user choose work on a copy and store it back when the choice is made.
    PlcChoice& Plc() override { return m_Plc; }
    const PlcChoice& Plc() const override { return m_Plc; }

    // The one transfer session of the run.
    CTesknetComm& GetComm() { return m_Comm; }
    // The requests of every session with the PLC, for the communication log.
    transfer::CommLog& RequestLog() { return m_requestLog; }

    platform::DenyWriteFile& GetLdtFile() { return m_LdtFile; }
    CUndoMap& GetUndoMap() override { return m_UndoMap; }

    int GetFilterIndex() const { return m_nFilterIndex; }
    void SetFilterIndex(int index) { m_nFilterIndex = index; }

    // Back to "no PLC".
    void ResetPlcState() { m_Plc = PlcChoice{}; }
    // Rebuilds the device and bank lists for the model just stored, carrying the
    // old selections over; false (lists unchanged) when the model cannot be read.
    bool RebuildForNewModel();

    // The one open document, or null.
    CMemorixDoc* GetActiveDoc() const override { return m_pDocument.get(); }
    // True when there is no document or it may be closed (saved, or not wanted).
    bool CanReplaceDocument();
    // Closes the open document, if any: its state goes, and so does the PLC.
    void CloseDocument();
    // Creates a document by the start mode; null when it could not be built.
    CMemorixDoc* NewDocument(IDocumentHost& host);
    // Opens a data file as the document; null when it could not be read.
    CMemorixDoc* OpenDocumentFile(const std::string& path, IDocumentHost& host);

    // How the next document is made: START_NEW, START_READ_PLC or START_NONE.
    int StartMode() const { return m_nStartMode; }
    void SetStartMode(int mode) { m_nStartMode = mode; }
    // Whether File New has not run yet in this run (the start-up dialog shows once).
    bool IsFirstNew() const { return m_bFirstNew; }
    void SetFirstNew(bool first) { m_bFirstNew = first; }
    // Whether the tool bar uses its high-colour variant.
    bool HiColorIcons() const { return m_bHiColorIcons; }

    // What a document of this application works with.
    DocumentContext Context();

private:
    std::string UntitledName();

    AppServices m_services;
    PlcChoice m_Plc;
    transfer::CommLog m_requestLog; // before the session, which reports to it
    CTesknetComm m_Comm;
    CUndoMap m_UndoMap;
    platform::DenyWriteFile m_LdtFile;
    int m_nFilterIndex = 0;
    std::unique_ptr<CMemorixDoc> m_pDocument;
    int m_nUntitledCount = 0;
    bool m_bHiColorIcons = true;
    bool m_bFirstNew = true;
    int m_nStartMode = START_NONE;
};
