#pragma once

// The document: the blocks of device memory the user edits, one for every
// selected device range and file-register bank of the current PLC. It builds
// them blank, reads and writes them in the data files, keeps them in step with
// changed ranges or a changed model, and asks to save changes.

#include "document/DocumentContext.h"
#include "model/DeviceModel.h"
#include "model/IBlockStore.h"
#include "transfer/TransferOutcome.h"

#include <string>

class CPlcDatabase;
class IDocumentHost;

// How a new document is built.
inline constexpr int START_NONE = 0;
inline constexpr int START_NEW = 10;
inline constexpr int START_OPEN = 11;
inline constexpr int START_READ_PLC = 12;

class CMemorixDoc final : public IBlockStore {
public:
    CMemorixDoc(DocumentContext context, IDocumentHost& host);
    ~CMemorixDoc() override;
    CMemorixDoc(const CMemorixDoc&) = delete;
    CMemorixDoc& operator=(const CMemorixDoc&) = delete;

    // The blocks in document order; the file writers and the transfer read them.
    const EditDataArray& Blocks() const { return m_aEditData; }

    const CEditData* FindBlock(std::uint8_t deviceCode, std::int16_t bank) const override;
    void WriteBlockBytes(std::int32_t offset, const std::uint8_t* bytes, std::int32_t count, std::uint8_t deviceCode,
                         std::int16_t bank) override;

    // Path, title and modified flag.
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path, bool addToRecentFiles = true);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    // The file name with its extension, without the folder.
    std::string GetDocFileName() const;

    // Builds the document by a start mode; false: no document.
    bool OnNewDocument(int startMode);
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    // The application's part of closing; the application destroys the document afterwards.
    void OnCloseDocument();
    // True when the document may be closed (saved, or the user chose not to).
    bool SaveModified();

    // The Save and Save As commands.
    void OnFileSave();
    void OnFileSaveAs();
    bool SaveDocument();
    bool SaveDocumentAs();

    bool BuildBlankBlocks();
    // Reads the ranges chosen by the transfer session's PrepareUpload; the
    // blocks and the PLC change only when the whole read succeeded.
    bool LoadFromPlc();
    // Ends an open edit and writes every block to the PLC: the session's
    // outcome, or Cancelled when the edit could not be ended.
    TransferOutcome WriteToPlc();
    // After the device or bank selection of the PLC changed.
    void ReconcileBlocks();
    // After the PLC's lists were rebuilt for another model.
    void ApplyModelChange();

private:
    bool CheckLegacyLoss();

    DocumentContext m_context;
    PlcChoice& m_plc;
    IDocumentHost& m_host;
    EditDataArray m_aEditData;
    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
};

// The extension of a path's file name from its last '.', lower-cased; empty without one.
std::string LowerExtension(const std::string& path);
