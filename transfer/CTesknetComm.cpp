#include "transfer/CTesknetComm.h"

#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "transfer/FixedText.h"
#include "transfer/ICommHost.h"
#include "transfer/WaitCursor.h"
#include "model/DeviceLists.h"
#include "platform/CodePage.h"
#include "platform/Coding.h"
#include "platform/MessageBox.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kSettleMs = 300;

NullCommHost g_nullHost;

std::string ToAnsi(const std::string& text)
{
    return platform::AnsiCodePage().FromUtf8(text);
}

std::string FromAnsi(const std::string& bytes)
{
    return platform::AnsiCodePage().ToUtf8(bytes);
}

std::wstring ToWide(const std::string& utf8)
{
    std::wstring wide;
    std::size_t pos = 0;
    while (pos < utf8.size())
        wide.push_back(static_cast<wchar_t>(platform::NextUtf8(utf8, pos)));
    return wide;
}

} // namespace

std::uint32_t CappedFailureWait(std::uint32_t requestedMs)
{
    return std::min(requestedMs, kMaxFailureWaitMs);
}

CTesknetComm::CTesknetComm(platform::IMessageBox& messages, const IStringTable& strings, std::string cataloguePath,
                           const PlcChoice& current, int languageIndex)
    : m_nLanguage(languageIndex)
    , m_messages(messages)
    , m_strings(strings)
    , m_cataloguePath(std::move(cataloguePath))
    , m_current(current)
    , m_host(&g_nullHost)
    , m_sleep([](std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); })
    , m_transfer(m_Block.data(), *m_host, [this](int libraryError) {
        m_lastError = libraryError;
        m_transferError = libraryError;
    })
{
}

CTesknetComm::~CTesknetComm()
{
    Disconnect();
}

void CTesknetComm::SetHost(ICommHost* host)
{
    m_host = host ? host : &g_nullHost;
    m_transfer.SetHost(*m_host);
}

int CTesknetComm::LanguageCode() const
{
    switch (m_nLanguage) {
    case comm::Language::Japanese:
    case comm::Language::ChineseSimplified:
    case comm::Language::ChineseTraditional:
    case comm::Language::Korean:
    case comm::Language::Spanish:
    case comm::Language::Italian:
    case comm::Language::Thai: return m_nLanguage;
    default: return comm::Language::English;
    }
}

std::string CTesknetComm::AnsiAppName() const
{
    return ToAnsi(m_host->ApplicationName());
}

TransferOutcome CTesknetComm::Connect()
{
    if (IsOnline())
        return TransferOutcome::Done;
    if (!IsInitialised()) {
        if (!BindLibraries())
            return TransferOutcome::InitFailed;
        std::vector<char> name = ZeroedText(AnsiAppName(), comm::kAppNameSize);
        if (m_exports->initialise(m_Block.data(), name.data()) != 0)
            return TransferOutcome::InitFailed;
        m_nFlags |= kInitialised;
        FollowRequests();
    }
    UpdateTitle();
    m_exports->setLanguage(m_Block.data(), LanguageCode());
    const int result = m_exports->goOnline(m_host->MainWindow(), m_Block.data());
    if (result != 0) {
        m_nFlags &= static_cast<std::uint8_t>(~kOnline);
        return Fail(result);
    }
    m_nFlags |= kOnline;
    UpdateTitle();
    return TransferOutcome::Done;
}

void CTesknetComm::Disconnect()
{
    if (IsOnline()) {
        m_exports->goOffline(m_Block.data());
        m_nFlags &= static_cast<std::uint8_t>(~kOnline);
    }
}

void CTesknetComm::FollowRequests()
{
    if (m_requestLog && m_exports->setRequestLog)
        m_exports->setRequestLog(m_Block.data(), &transfer::CommLog::Record, m_requestLog);
}

bool CTesknetComm::BindLibraries()
{
    if (m_exports)
        return true;
    m_exports = transfer::LoadCommExports(m_loadError);
    if (!m_exports)
        return false;
    m_loadError.clear();
    m_transfer.SetExports(*m_exports);
    return true;
}

std::string CTesknetComm::InitFailedText(const std::string& lead) const
{
    std::string text = lead;
    if (!m_loadError.empty())
        text += m_loadError + "\n";
    return text + "[" + std::to_string(transfer::kLibrariesNotSetUp) + "]";
}

TransferOutcome CTesknetComm::RunTransfer(const std::function<TransferOutcome()>& job)
{
    m_transferError.reset();
    m_transfer.ClearStop();
    const TransferOutcome result = m_runner ? m_runner(job) : job();
    if (m_transferError) {
        ReportError(*m_transferError, {});
        m_transferError.reset();
    }
    return result;
}

TransferOutcome CTesknetComm::Fail(int libraryError)
{
    m_lastError = libraryError;
    return TransferOutcome::Failed;
}

void CTesknetComm::UpdateTitle()
{
    if ((m_nFlags & (kInitialised | kOnline)) == 0)
        return;
    std::string title = m_host->ApplicationName() + " - " + m_host->DocumentFileName();
    title = ToAnsi(title);
    if (title.size() > comm::kBlockTitleSize - 1)
        title.resize(comm::kBlockTitleSize - 1);
    if (IsOnline()) {
        m_exports->setTitle(m_Block.data(), title.c_str());
        return;
    }
    std::uint8_t* field = m_Block.data() + comm::kBlockTitleOffset;
    std::memset(field, 0, comm::kBlockTitleSize);
    std::memcpy(field, title.data(), title.size());
}

void CTesknetComm::ReportError(int code, const std::string& text)
{
    std::string shown = text;
    if (shown.empty() && m_exports) {
        std::vector<char> buffer(comm::kErrorTextSize, '\0');
        m_exports->errorText(m_Block.data(), code, buffer.data());
        shown = FromAnsi(TextOf(buffer.data(), buffer.size()));
    }
    platform::MessageRequest request;
    request.text = shown;
    request.icon = platform::MsgIcon::Exclamation;
    m_messages.Show(request);
}

std::string CTesknetComm::GetConnectionText()
{
    if (!BindLibraries())
        return m_loadError;
    m_exports->setLanguage(m_Block.data(), LanguageCode());
    std::vector<char> name = ZeroedText(ToAnsi(m_strConnName), comm::kAppNameSize);
    std::vector<char> buffer(comm::kErrorTextSize, '\0');
    m_exports->connectionText(m_Block.data(), m_wConnNo, name.data(), buffer.data());
    return FromAnsi(TextOf(buffer.data(), buffer.size()));
}

void CTesknetComm::CommSettings()
{
    if (!BindLibraries()) {
        ReportError(transfer::kLibrariesNotSetUp, InitFailedText(m_strings.LoadString(res::IDS_COMM_INIT_FAILED)));
        return;
    }
    const std::wstring appName = ToWide(m_host->ApplicationName());
    std::uint8_t* block = nullptr;
    int alreadyInitialised = 0;
    if (IsInitialised()) {
        block = m_Block.data();
        alreadyInitialised = 1;
    } else {
        std::vector<char> name = ZeroedText(AnsiAppName(), comm::kAppNameSize);
        if (m_exports->initialise(m_Block.data(), name.data()) == 0) {
            m_nFlags |= kInitialised;
            FollowRequests();
            UpdateTitle();
            m_exports->setLanguage(m_Block.data(), LanguageCode());
            block = m_Block.data();
        }
    }
    std::vector<char> connName = ZeroedText(ToAnsi(m_strConnName), comm::kConnectionNameSize);
    std::int32_t connection = m_wConnNo;
    std::int32_t out = 0;
    const int result = m_exports->commSettings(
        block, appName.c_str(), m_host->MainWindow(), appName.c_str(), 0, comm::Settings::kCommSettingsList32, 5,
        comm::Settings::kCommSettingsList16, 18, &connection, &out, connName.data(), 1, alreadyInitialised);
    if (block && result == 1) {
        m_strConnName = FromAnsi(TextOf(connName.data(), connName.size()));
        m_wConnNo = static_cast<std::uint16_t>(connection & 0xFFFF);
        if (alreadyInitialised == 1)
            m_nFlags |= kOnline;
    }
}

void CTesknetComm::OnlineSettings()
{
    const TransferOutcome connected = Connect();
    if (connected == TransferOutcome::InitFailed) {
        ReportError(transfer::kLibrariesNotSetUp, InitFailedText(m_strings.LoadString(res::IDS_COMM_INIT_FAILED)));
        return;
    }
    if (connected != TransferOutcome::Done) {
        ReportError(m_lastError, {});
        return;
    }
    std::vector<char> connName = ZeroedText(ToAnsi(m_strConnName), comm::kConnectionNameSize);
    const std::vector<char> appName = ZeroedText(AnsiAppName(), comm::kAppNameSize);
    std::int32_t connection = m_wConnNo;
    m_exports->onlineSettings(m_host->ActiveWindow(), appName.data(), appName.data(), 0,
                              comm::Settings::kOnlineSettingsCode, m_Block.data(), &connection, connName.data(),
                              static_cast<int>(comm::kConnectionNameSize));
    m_strConnName = FromAnsi(TextOf(connName.data(), connName.size()));
    m_wConnNo = static_cast<std::uint16_t>(connection & 0xFFFF);
    Disconnect();
}

bool CTesknetComm::OpenAndIdentify()
{
    const TransferOutcome connected = Connect();
    if (connected == TransferOutcome::InitFailed) {
        ReportError(transfer::kLibrariesNotSetUp, InitFailedText({}));
        return false;
    }
    if (connected != TransferOutcome::Done) {
        ReportError(m_lastError, {});
        return false;
    }
    WaitCursor wait(*m_host);
    const std::vector<char> connName = ZeroedText(ToAnsi(m_strConnName), comm::kConnectionNameSize);
    const std::vector<char> appName = ZeroedText(AnsiAppName(), comm::kAppNameSize);
    std::uint8_t out28[28] = {};
    std::uint8_t out48[48] = {};
    const int result = m_exports->identify(m_Block.data(), m_wConnNo, out28, out48, connName.data(), appName.data());
    if (result == 0) {
        m_nProtocol = m_Block[comm::kBlockProtocolOffset];
    } else {
        m_nProtocol = 255;
        Disconnect();
    }
    wait.End();
    if (result != 0) {
        ReportError(result, {});
        return false;
    }
    return true;
}

bool CTesknetComm::CheckPlcType(bool forWrite)
{
    int series = -1;
    int modelId = 0;
    CPlcDatabase db(m_messages, m_cataloguePath);
    if (m_nProtocol == comm::kFamilyProtocol7) {
        std::uint8_t out48[48] = {};
        const int result = m_exports->readType(m_Block.data(), m_wConnNo, out48, 0);
        if (result != 0) {
            ReportError(result, {});
            return false;
        }
        const int high = coding::GetU16LE(out48 + 2);
        const int low = coding::GetU16LE(out48 + 4);
        modelId = high << 8 | low;
    } else if (m_nProtocol == comm::kFamilyMessage) {
        std::uint8_t out28[28] = {};
        const int result = m_exports->modelId(m_Block.data(), m_wConnNo, out28);
        if (result != 0) {
            ReportError(result, {});
            return false;
        }
        modelId = out28[0] | out28[1] << 8;
    } else {
        return false;
    }
    // The series is the catalogue's, whichever family the unit speaks: a
    // series is not told by the model id's high byte, and an id above 255
    // needs both of its bytes.
    stPLC model;
    if (db.FindPlcById(modelId, model))
        series = model.PLCSeriesNo;
    if (!db.IsKnownPlc(series, modelId)) {
        Message(forWrite ? res::IDS_WRITE_UNKNOWN_PLC : res::IDS_READ_UNKNOWN_PLC,
                static_cast<int>(platform::MsgIcon::Exclamation));
        return false;
    }
    m_nDetectedSeries = series;
    m_nDetectedPlcId = series == -1 ? 0 : modelId;
    if (series == m_current.m_nPLCSeriesNo && modelId == m_current.m_nPLCId)
        return true;
    if (forWrite)
        return AskYesNo(res::IDS_WRITE_OTHER_PLC);
    if (m_current.m_nPLCSeriesNo == 0)
        return true;
    return AskYesNo(res::IDS_READ_OTHER_PLC);
}

void CTesknetComm::Message(int stringId, int icon)
{
    platform::MessageRequest request;
    request.stringId = stringId;
    request.text = m_strings.LoadString(stringId);
    request.icon = static_cast<platform::MsgIcon>(icon);
    m_messages.Show(request);
}

bool CTesknetComm::AskYesNo(int stringId)
{
    platform::MessageRequest request;
    request.stringId = stringId;
    request.text = m_strings.LoadString(stringId);
    request.icon = platform::MsgIcon::Exclamation;
    request.buttons = platform::MsgButtons::YesNo;
    return m_messages.Show(request) == platform::MsgAnswer::Yes;
}

void CTesknetComm::WaitAfterFailure()
{
    const std::uint32_t requested = coding::GetU32LE(m_Block.data() + comm::kBlockWaitOffset);
    const std::uint32_t wait = CappedFailureWait(requested);
    if (wait > 0)
        m_sleep(wait);
}

TransferOutcome CTesknetComm::Download(const EditDataArray& blocks)
{
    m_transfer.ResetBlocksWritten();
    if (!m_host->ConfirmTransfer(*this, true))
        return TransferOutcome::Cancelled;
    if (!OpenAndIdentify() || !CheckPlcType(true)) {
        Disconnect();
        return TransferOutcome::NotReached;
    }
    m_sleep(kSettleMs);
    const TransferOutcome result =
        RunTransfer([&] { return m_transfer.Write(m_nProtocol, m_wConnNo, blocks, m_current); });
    if (result == TransferOutcome::Cancelled) {
        Disconnect();
        return TransferOutcome::Cancelled;
    }
    m_host->EndProgress();
    if (result != TransferOutcome::Done && result != TransferOutcome::Stopped)
        WaitAfterFailure();
    Disconnect();
    return result;
}

bool CTesknetComm::StartChoice(const stPLC& model, PlcChoice& choice)
{
    // The lists being edited are a start only when the same model answered;
    // another model starts from its own devices and defaults.
    if (model.Id == m_current.m_nPLCId && model.PLCSeriesNo == m_current.m_nPLCSeriesNo
        && !m_current.m_aDeviceInfo.empty()) {
        choice = m_current;
        return true;
    }
    CPlcDatabase db(m_messages, m_cataloguePath);
    if (db.DBConnect(true) == 0)
        return false;
    CatalogueModel rows;
    const bool read = ReadCatalogueModel(db, model.Id, rows);
    db.DBConnect(false);
    if (!read)
        return false;
    choice = PlcChoice{};
    choice.SetModel(rows.model, rows.devices);
    BuildDeviceLists(rows.model, rows.devices, m_strings, choice.m_aDeviceInfo, choice.m_aBankInfo);
    return true;
}

TransferOutcome CTesknetComm::PrepareUpload()
{
    m_Pending.reset();
    if (!m_host->ConfirmTransfer(*this, false))
        return TransferOutcome::Cancelled;
    if (!OpenAndIdentify() || !CheckPlcType(false)) {
        Disconnect();
        return TransferOutcome::NotReached;
    }
    stPLC model;
    CPlcDatabase db(m_messages, m_cataloguePath);
    if (!db.FindPlcById(m_nDetectedPlcId, model)) {
        Disconnect();
        return TransferOutcome::UnknownModel;
    }
    PlcChoice choice;
    if (!StartChoice(model, choice)) {
        Disconnect();
        return TransferOutcome::UnknownModel;
    }
    if (!m_host->ChooseRanges(choice)
        || !BuildsAnyBlock(choice.m_aDeviceInfo, choice.m_aBankInfo, choice.m_FLBankNum)) {
        Disconnect();
        return TransferOutcome::Cancelled;
    }
    choice.RefreshLdtFormat();
    m_Pending = std::move(choice);
    Disconnect();
    return TransferOutcome::Done;
}

std::string CTesknetComm::DetectedModelName() const
{
    stPLC model;
    CPlcDatabase db(m_messages, m_cataloguePath);
    return db.FindPlcById(m_nDetectedPlcId, model) ? model.FullName : std::string();
}

PlcChoice CTesknetComm::TakePendingPlc()
{
    PlcChoice plc = m_Pending ? std::move(*m_Pending) : m_current;
    m_Pending.reset();
    return plc;
}

TransferOutcome CTesknetComm::Upload(EditDataArray& out)
{
    if (!OpenAndIdentify())
        return TransferOutcome::NotReached;
    const PlcChoice& plc = m_Pending ? *m_Pending : m_current;
    m_sleep(kSettleMs);
    const TransferOutcome result = RunTransfer([&] { return m_transfer.Read(m_nProtocol, m_wConnNo, plc, out); });
    m_host->EndProgress();
    if (result != TransferOutcome::Done)
        out.clear();
    if (result != TransferOutcome::Done && result != TransferOutcome::Stopped)
        WaitAfterFailure();
    Disconnect();
    return result;
}
