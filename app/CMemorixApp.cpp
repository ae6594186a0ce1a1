#include "app/CMemorixApp.h"

#include "catalogue/CPlcDatabase.h"
#include "core/CMemorixDoc.h"
#include "core/IDocumentHost.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace {

CMemorixApp* g_instance = nullptr;

// The legacy layout's devices, in file order.
constexpr std::array<std::uint8_t, 7> kLegacyDevices{
    DeviceCode::WR, DeviceCode::DT, DeviceCode::FL, DeviceCode::TS,
    DeviceCode::TE, DeviceCode::LD, DeviceCode::WL,
};

} // namespace

CMemorixApp::CMemorixApp(AppServices services)
    : m_services(std::move(services))
{
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

std::uint8_t CMemorixApp::GetFLBankNum(std::uint8_t deviceCode) const
{
    return deviceCode == DeviceCode::FL ? m_FLBankNum : 0;
}

void CMemorixApp::SetFLBankNum(std::uint8_t deviceCode, std::uint8_t count)
{
    if (deviceCode == DeviceCode::FL)
        m_FLBankNum = count;
}

bool CMemorixApp::IsFLBankDevice(std::uint8_t deviceCode, int bankCount)
{
    return deviceCode == DeviceCode::FL && bankCount > 0;
}

std::uint16_t CMemorixApp::CalcLdtFormat() const
{
    if (m_Is16bitCPUFlg == 0)
        return 0;
    if (m_FLBankNum != 0)
        return 2048;
    return IsLargeDeviceMemory() ? 32 : 16;
}

std::uint16_t CMemorixApp::RefreshLdtFormat()
{
    m_strLdtText1.clear();
    m_strLdtText2.clear();
    m_wLdtFormat = CalcLdtFormat();
    return m_wLdtFormat;
}

bool CMemorixApp::IsLargeDeviceMemory() const
{
    CPlcDatabase db(m_services.messages, m_services.cataloguePath);
    if (db.DBConnect(true) != 1)
        return false;
    std::vector<stDeviceInst> devices;
    const int count = db.GetDBDeviceInstAry(devices, m_nPLCId, -1);
    db.DBConnect(false);
    if (count <= 0)
        return false;

    std::uint32_t counter = 39;
    for (const std::uint8_t code : kLegacyDevices) {
        std::uint32_t addresses = 1;
        for (const stDeviceInst& device : devices) {
            if (device.Id == code) {
                addresses = static_cast<std::uint32_t>(device.MaxValue) - static_cast<std::uint32_t>(device.MinValue)
                    + 1u;
                break;
            }
        }
        counter += addresses;
    }
    return counter >= 0x7FFF;
}

void CMemorixApp::SetCurrentPlc(const stPLC& model)
{
    m_nPLCSeriesNo = model.PLCSeriesNo;
    m_nPLCId = model.Id;
    m_strPLCName = model.FullName;
    m_Is16bitCPUFlg = model.Is16bitCPUFlg;
    SetFLBankNum(DeviceCode::FL, model.FLBankNum);
}

void CMemorixApp::ResetPlcState()
{
    m_nPLCSeriesNo = 0;
    m_nPLCId = 0;
    m_strPLCName.clear();
    m_Is16bitCPUFlg = 0;
    m_aDeviceInfo.clear();
    m_aDeviceInfo.shrink_to_fit();
    m_aBankInfo.clear();
    m_aBankInfo.shrink_to_fit();
    m_strLdtText1.clear();
    m_strLdtText2.clear();
    m_wLdtFormat = 0;
    m_FLBankNum = 0;
}

int CMemorixApp::SetPlcNameFromCatalogue(int seriesNo, int modelId)
{
    CPlcDatabase db(m_services.messages, m_services.cataloguePath);
    if (db.DBConnect(true) != 1)
        return 1;
    std::vector<stPLC> models;
    db.GetDBPLCAry(seriesNo, models);
    db.DBConnect(false);
    for (const stPLC& model : models) {
        if (model.PLCSeriesNo == seriesNo && model.Id == modelId) {
            m_strPLCName = model.FullName;
            break;
        }
    }
    return 1;
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
    auto document = std::make_unique<CMemorixDoc>(*this, host);
    document->SetTitle(UntitledName());
    if (!document->OnNewDocument()) {
        host.ShowDataToolbar(false);
        return nullptr;
    }
    m_pDocument = std::move(document);
    return m_pDocument.get();
}

CMemorixDoc* CMemorixApp::OpenDocumentFile(const std::string& path, IDocumentHost& host)
{
    CloseDocument();
    auto document = std::make_unique<CMemorixDoc>(*this, host);
    if (!document->OnOpenDocument(path)) {
        // No document means no PLC: a reader may have stored the file's model
        // before it failed.
        ResetPlcState();
        host.ShowDataToolbar(false);
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
        const std::string field = strings.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                                         : second - first - 1);
        if (!field.empty())
            base = field;
    }
    return base + std::to_string(++m_nUntitledCount);
}
