#pragma once

// The one application object: the current PLC with its device and bank lists,
// the legacy file header values, the start mode of the next new document and
// the services the rest of the program reaches through it.

#include "core/CUndoMap.h"
#include "core/DeviceModel.h"
#include "platform/DenyWriteFile.h"

#include <cstdint>
#include <memory>
#include <string>

class CMemorixDoc;
class IDocumentHost;
class IStringTable;
namespace platform {
class IMessageBox;
class ISettingsStore;
} // namespace platform

// How the next new document is built.
inline constexpr int START_NONE = 0;
inline constexpr int START_NEW = 10;
inline constexpr int START_OPEN = 11;
inline constexpr int START_READ_PLC = 12;

// What the application needs from its surroundings; they outlive it.
struct AppServices {
    platform::IMessageBox& messages;
    const IStringTable& strings;
    platform::ISettingsStore& settings;
    std::string cataloguePath;
};

class CMemorixApp {
public:
    // There is at most one application object at a time; a second one throws std::logic_error.
    explicit CMemorixApp(AppServices services);
    ~CMemorixApp();
    CMemorixApp(const CMemorixApp&) = delete;
    CMemorixApp& operator=(const CMemorixApp&) = delete;

    // The live application object, or null.
    static CMemorixApp* Instance();

    platform::IMessageBox& Messages() const { return m_services.messages; }
    const IStringTable& Strings() const { return m_services.strings; }
    platform::ISettingsStore& Settings() const { return m_services.settings; }
    const std::string& CataloguePath() const { return m_services.cataloguePath; }

    void GetDeviceInfo(DeviceInfoArray& out) const { out = m_aDeviceInfo; }
    void SetDeviceInfo(const DeviceInfoArray& in) { m_aDeviceInfo = in; }
    void GetBankInfo(BankInfoArray& out) const { out = m_aBankInfo; }
    void SetBankInfo(const BankInfoArray& in) { m_aBankInfo = in; }

    std::uint8_t GetFLBankNum(std::uint8_t deviceCode) const;
    void SetFLBankNum(std::uint8_t deviceCode, std::uint8_t count);
    static bool IsFLBankDevice(std::uint8_t deviceCode, int bankCount);

    platform::DenyWriteFile& GetLdtFile() { return m_LdtFile; }
    CUndoMap& GetUndoMap() { return m_UndoMap; }

    std::string GetLdtText1() const { return m_strLdtText1; }
    std::string GetLdtText2() const { return m_strLdtText2; }
    void SetLdtText1(const std::string& text) { m_strLdtText1 = text; }
    void SetLdtText2(const std::string& text) { m_strLdtText2 = text; }
    std::uint16_t GetLdtFormat() const { return m_wLdtFormat; }
    void SetLdtFormat(std::uint16_t format) { m_wLdtFormat = format; }
    int GetFilterIndex() const { return m_nFilterIndex; }
    void SetFilterIndex(int index) { m_nFilterIndex = index; }
    int GetIs16bitCPUFlg() const { return m_Is16bitCPUFlg; }
    void SetIs16bitCPUFlg(int flag) { m_Is16bitCPUFlg = flag; }

    // The legacy format code of the current PLC: 0, 16, 32 or 2048.
    std::uint16_t CalcLdtFormat() const;
    // Empties both legacy texts and stores the format code.
    std::uint16_t RefreshLdtFormat();
    // Whether the seven legacy devices of the current model overflow the 16-bit layout.
    bool IsLargeDeviceMemory() const;
    // Back to "no PLC": series, model, name, flags, lists, texts and format.
    void ResetPlcState();
    // Sets m_strPLCName from the catalogue when the model is found there; always 1.
    int SetPlcNameFromCatalogue(int seriesNo, int modelId);
    // Makes a catalogue model the current PLC: series, id, name, CPU flag and
    // FL bank count (the lists and the legacy format are the caller's).
    void SetCurrentPlc(const stPLC& model);
    // Rebuilds the device and bank lists for the model just stored, carrying the
    // old selections over; false (lists unchanged) when the model cannot be read.
    bool RebuildForNewModel();

    // The one open document, or null.
    CMemorixDoc* GetActiveDoc() const { return m_pDocument.get(); }
    // True when there is no document or it may be closed (saved, or not wanted).
    bool CanReplaceDocument();
    // Closes the open document, if any: its state goes, and so does the PLC.
    void CloseDocument();
    // Creates a document by m_nStartMode; null when it could not be built.
    CMemorixDoc* NewDocument(IDocumentHost& host);
    // Opens a data file as the document; null when it could not be read.
    CMemorixDoc* OpenDocumentFile(const std::string& path, IDocumentHost& host);

    bool m_bHiColorIcons = true;
    bool m_bFirstNew = true;
    int m_nPLCSeriesNo = 0;
    int m_nPLCId = 0;
    std::string m_strPLCName;
    int m_nStartMode = START_NONE;

private:
    std::string UntitledName();

    AppServices m_services;
    DeviceInfoArray m_aDeviceInfo;
    CUndoMap m_UndoMap;
    platform::DenyWriteFile m_LdtFile;
    BankInfoArray m_aBankInfo;
    std::string m_strLdtText1;
    std::string m_strLdtText2;
    std::uint16_t m_wLdtFormat = 0;
    std::uint8_t m_FLBankNum = 0;
    int m_nFilterIndex = 0;
    int m_Is16bitCPUFlg = 0;
    std::unique_ptr<CMemorixDoc> m_pDocument;
    int m_nUntitledCount = 0;
};
