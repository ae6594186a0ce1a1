#include "document/CMemorixDoc.h"

#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "document/FileErrors.h"
#include "document/IDocumentHost.h"
#include "document/ReadDataFile.h"
#include "files/DataFiles.h"
#include "model/BlockReconcile.h"
#include "model/DeviceLists.h"
#include "model/DeviceNames.h"
#include "model/RangeRules.h"
#include "resources/FormatText.h"
#include "resources/IStringTable.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace {

bool IsDataFileExtension(const std::string& extension)
{
    return extension == ".ldtx" || extension == ".ldt";
}

std::string DescribeBlock(const CEditData& block, bool banked)
{
    std::string name(DeviceTwoLetterName(block.Id));
    if (name.empty())
        name = FormatText("device %d", {static_cast<int>(block.Id)});
    if (banked)
        name += FormatText(" bank %d", {static_cast<int>(block.BankNo)});
    return name + FormatText(" %d-%d", {block.StartAddr, block.EndAddr});
}

} // namespace

std::string LowerExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart)
        return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

CMemorixDoc::CMemorixDoc(DocumentContext context, IDocumentHost& host)
    : m_context(context)
    , m_plc(context.plc)
    , m_host(host)
{
}

CMemorixDoc::~CMemorixDoc() = default;

const CEditData* CMemorixDoc::FindBlock(std::uint8_t deviceCode, std::int16_t bank) const
{
    for (const CEditData& block : m_aEditData) {
        if (block.Id == deviceCode && block.BankNo == bank)
            return &block;
    }
    return nullptr;
}

void CMemorixDoc::WriteBlockBytes(std::int32_t offset, const std::uint8_t* bytes, std::int32_t count,
                                  std::uint8_t deviceCode, std::int16_t bank)
{
    auto block = std::find_if(m_aEditData.begin(), m_aEditData.end(),
                              [&](const CEditData& b) { return b.Id == deviceCode && b.BankNo == bank; });
    if (block == m_aEditData.end() || offset < 0 || count <= 0 || !bytes)
        return;
    const auto size = static_cast<std::int64_t>(block->Data.size());
    if (offset >= size)
        return;
    const std::int64_t n = std::min<std::int64_t>(count, size - offset);
    std::memcpy(block->Data.data() + offset, bytes, static_cast<std::size_t>(n));
    SetModifiedFlag();
}

void CMemorixDoc::SetPathName(const std::string& path, bool addToRecentFiles)
{
    m_strPathName = path;
    m_strTitle = GetDocFileName();
    if (addToRecentFiles)
        m_host.AddToRecentFileList(path);
}

std::string CMemorixDoc::GetDocFileName() const
{
    const std::size_t slash = m_strPathName.find_last_of('/');
    return slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1);
}

bool CMemorixDoc::OnNewDocument(int startMode)
{
    switch (startMode) {
    case START_NEW: return BuildBlankBlocks();
    case START_READ_PLC: return LoadFromPlc();
    default: return false;
    }
}

bool CMemorixDoc::BuildBlankBlocks()
{
    m_aEditData.clear();
    for (const stDeviceInfo& device : m_plc.m_aDeviceInfo) {
        if (device.Selected != 0 && !m_plc.IsBankedDevice(device.Id))
            m_aEditData.push_back(MakeBlankBlock(device.Id, 0, device.StartAddr, device.EndAddr, device.DataSize));
    }
    for (const _SBankInfo& bank : m_plc.m_aBankInfo) {
        if (bank.Selected != 0)
            m_aEditData.push_back(MakeBlankBlock(bank.Id, bank.BankNo, bank.StartAddr, bank.EndAddr, bank.DataSize));
    }
    SetModifiedFlag();
    if (m_aEditData.empty())
        return false;
    m_host.DocumentOpened(m_plc.m_aDeviceInfo, m_plc.m_aBankInfo, m_plc.m_strPLCName);
    return true;
}

bool CMemorixDoc::OnOpenDocument(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    if (!IsDataFileExtension(extension))
        return false;
    m_host.BeginWaitCursor();
    // One catalogue connection for the whole open: the file's model, its
    // devices and the lists built from them.
    CPlcDatabase db(m_context.messages, m_context.cataloguePath);
    EditDataArray read;
    bool ok;
    FileError legacyError = FileError::None;
    if (extension == ".ldtx") {
        ok = ReadLdtxFile(m_context, db, path, read);
    } else {
        legacyError = ReadLdtFile(m_context, db, path, read);
        ok = legacyError == FileError::None;
    }
    if (!ok) {
        m_host.EndWaitCursor();
        // Say why the system refused the file (a named pipe, no access, in use).
        const std::string reason = legacyError == FileError::Open ? m_context.legacyFile.ErrorText() : std::string();
        ReportFileError(m_context.messages, m_context.strings, legacyError, path, reason);
        return false;
    }
    m_aEditData = std::move(read);

    CatalogueModel catalogue;
    if (!db.IsOpen() && db.DBConnect(true) != 1) {
        m_host.EndWaitCursor();
        return false;
    }
    const bool known = ReadCatalogueModel(db, m_plc.m_nPLCId, catalogue);
    db.DBConnect(false);
    if (!known) {
        m_host.EndWaitCursor();
        return false;
    }
    const stPLC& model = catalogue.model;
    m_plc.SetModelTraits(model, catalogue.devices);
    // The format code follows the model's CPU and banks; a legacy file keeps
    // the code its header gave.
    if (extension == ".ldtx")
        m_plc.RefreshLdtFormat();

    DeviceInfoArray devices;
    BankInfoArray banks;
    BuildDeviceLists(model, catalogue.devices, m_context.strings, devices, banks);

    // The selection comes from the blocks, as stored: a file may hold ranges
    // outside the model's addresses, and a device may appear once per bank.
    DeviceInfoArray selectedDevices;
    BankInfoArray selectedBanks;
    for (stDeviceInfo& device : devices) {
        for (const CEditData& block : m_aEditData) {
            if (block.Id != device.Id)
                continue;
            device.StartAddr = block.StartAddr;
            device.EndAddr = block.EndAddr;
            device.Selected = 1;
            selectedDevices.push_back(device);
            if (!PlcChoice::IsFLBankDevice(block.Id, model.FLBankNum))
                continue;
            for (_SBankInfo& bank : banks) {
                if (bank.BankNo == block.BankNo) {
                    bank.StartAddr = block.StartAddr;
                    bank.EndAddr = block.EndAddr;
                    bank.Selected = 1;
                    selectedBanks.push_back(bank);
                    break;
                }
            }
        }
    }

    m_host.EndWaitCursor();
    m_plc.SetDeviceLists(std::move(devices), std::move(banks));
    m_host.DocumentOpened(selectedDevices, selectedBanks, m_plc.m_strPLCName);
    SetModifiedFlag(false);
    return true;
}

bool CMemorixDoc::CheckLegacyLoss()
{
    const std::uint16_t format = m_plc.CalcLdtFormat();
    if (format == 0)
        return true; // the writer refuses such a model itself
    const std::vector<const CEditData*> lost = BlocksLostInLdtFile(format, m_aEditData);
    if (lost.empty())
        return true;
    std::string list;
    const bool banked = m_plc.m_FLBankNum > 0;
    for (const CEditData* block : lost) {
        list += list.empty() ? "" : "\n";
        list += DescribeBlock(*block, banked && block->Id == DeviceCode::FL);
    }
    return ShowResourceMessage(m_context.messages, m_context.strings, res::IDS_FILE_LEGACY_LOSES_DATA,
                               platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo, {list})
           == platform::MsgAnswer::Yes;
}

bool CMemorixDoc::OnSaveDocument(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    if (!IsDataFileExtension(extension))
        return false;
    if (extension == ".ldt" && !CheckLegacyLoss())
        return false;
    m_host.BeginWaitCursor();
    FileError error;
    std::string reason;
    if (extension == ".ldtx") {
        error = WriteLdtx(path, {m_plc.m_nPLCSeriesNo, m_plc.m_nPLCId}, m_aEditData, LDTX_ALL_SECTIONS, &reason);
    } else {
        const std::uint16_t format = m_plc.RefreshLdtFormat();
        error =
            WriteLdt(m_context.legacyFile, path,
                     {format, m_plc.m_nPLCId, true, m_plc.m_strLdtText1, m_plc.m_strLdtText2}, m_aEditData, &reason);
    }
    m_host.EndWaitCursor();
    if (error != FileError::None) {
        ReportFileError(m_context.messages, m_context.strings, error, path, reason);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CMemorixDoc::OnFileSave()
{
    if (m_host.EndEdit(true))
        SaveDocument();
}

void CMemorixDoc::OnFileSaveAs()
{
    if (m_host.EndEdit(true))
        SaveDocumentAs();
}

bool CMemorixDoc::SaveDocument()
{
    if (!IsDataFileExtension(LowerExtension(m_strPathName)))
        return SaveDocumentAs();
    return OnSaveDocument(m_strPathName);
}

bool CMemorixDoc::SaveDocumentAs()
{
    const bool bothFormats = m_plc.m_Is16bitCPUFlg != 0;
    SaveFileRequest request;
    request.filter = m_context.strings.LoadString(res::IDS_FILTER_DATA);
    if (bothFormats)
        request.filter += m_context.strings.LoadString(res::IDS_FILTER_LEGACY_DATA);
    request.proposedName = m_strTitle;
    if (!bothFormats && m_strTitle != ".ldtx") {
        const std::size_t dot = m_strTitle.find('.');
        if (dot != std::string::npos)
            request.proposedName = m_strTitle.substr(0, dot);
    }
    if (request.filter.empty())
        return false;
    request.defaultExtension = ".ldtx";
    request.preselectFilter = bothFormats;
    request.filterIndex = m_context.filterIndex;
    if (!m_host.ShowSaveDialog(request))
        return false;
    m_context.filterIndex = request.filterIndex;
    if (!OnSaveDocument(request.chosenPath))
        return false;
    SetPathName(request.chosenPath, true);
    return true;
}

bool CMemorixDoc::SaveModified()
{
    if (!m_host.EndEdit(false))
        return false;
    if (!IsModified())
        return true;
    switch (ShowResourceMessage(m_context.messages, m_context.strings, res::IDP_ASK_TO_SAVE,
                                platform::MsgIcon::Exclamation, platform::MsgButtons::YesNoCancel, {m_strTitle})) {
    case platform::MsgAnswer::Yes: return SaveDocument();
    case platform::MsgAnswer::No: return true;
    default: return false;
    }
}

void CMemorixDoc::OnCloseDocument()
{
    m_plc = PlcChoice{};
    m_context.legacyFile.Close();
    m_host.DocumentClosed(); // the document goes right after this
}

void CMemorixDoc::ReconcileBlocks()
{
    ReconciledBlocks result = ReconcileBlockList(m_aEditData, m_plc);
    m_aEditData = std::move(result.blocks);
    if (result.modified)
        SetModifiedFlag();
    if (result.changed)
        m_host.BlocksReplaced(m_plc.m_aDeviceInfo, m_plc.m_aBankInfo);
}

void CMemorixDoc::ApplyModelChange()
{
    ReconcileBlocks();
    m_host.ModelChanged(m_plc.m_aDeviceInfo, m_plc.m_strPLCName);
    SetModifiedFlag();
}
