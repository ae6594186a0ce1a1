#include "model/PlcChoice.h"

#include <array>

namespace {

// The legacy layout's devices, in file order.
constexpr std::array<std::uint8_t, 7> kLegacyDevices{
    DeviceCode::WR, DeviceCode::DT, DeviceCode::FL, DeviceCode::TS, DeviceCode::TE, DeviceCode::LD, DeviceCode::WL,
};

} // namespace

void PlcChoice::SetModel(const stPLC& model, const std::vector<stDeviceInst>& devices)
{
    m_nPLCSeriesNo = model.PLCSeriesNo;
    m_nPLCId = model.Id;
    m_strPLCName = model.FullName;
    SetModelTraits(model, devices);
}

void PlcChoice::SetModelTraits(const stPLC& model, const std::vector<stDeviceInst>& devices)
{
    m_Is16bitCPUFlg = model.Is16bitCPUFlg;
    m_FLBankNum = model.FLBankNum;
    m_bLargeDeviceMemory = IsLargeDeviceMemory(devices);
}

std::uint8_t PlcChoice::GetFLBankNum(std::uint8_t deviceCode) const
{
    return deviceCode == DeviceCode::FL ? m_FLBankNum : 0;
}

bool PlcChoice::IsFLBankDevice(std::uint8_t deviceCode, int bankCount)
{
    return deviceCode == DeviceCode::FL && bankCount > 0;
}

std::uint16_t PlcChoice::CalcLdtFormat() const
{
    if (m_Is16bitCPUFlg == 0)
        return 0;
    if (m_FLBankNum != 0)
        return 2048;
    return m_bLargeDeviceMemory ? 32 : 16;
}

std::uint16_t PlcChoice::RefreshLdtFormat()
{
    m_strLdtText1.clear();
    m_strLdtText2.clear();
    m_wLdtFormat = CalcLdtFormat();
    return m_wLdtFormat;
}

bool IsLargeDeviceMemory(const std::vector<stDeviceInst>& devices)
{
    if (devices.empty())
        return false;
    std::uint32_t counter = 39;
    for (const std::uint8_t code : kLegacyDevices) {
        std::uint32_t addresses = 1;
        for (const stDeviceInst& device : devices) {
            if (device.Id == code) {
                addresses =
                    static_cast<std::uint32_t>(device.MaxValue) - static_cast<std::uint32_t>(device.MinValue) + 1u;
                break;
            }
        }
        counter += addresses;
    }
    return counter >= 0x7FFF;
}

void PlcChoice::SetIdentity(int seriesNo, int modelId, std::string name)
{
    m_nPLCSeriesNo = seriesNo;
    m_nPLCId = modelId;
    m_strPLCName = std::move(name);
}

void PlcChoice::SetDeviceLists(DeviceInfoArray devices, BankInfoArray banks)
{
    m_aDeviceInfo = std::move(devices);
    m_aBankInfo = std::move(banks);
}

void PlcChoice::SetLegacyHeader(std::string text1, std::string text2, std::uint16_t format)
{
    m_strLdtText1 = std::move(text1);
    m_strLdtText2 = std::move(text2);
    m_wLdtFormat = format;
}

void PlcChoice::MarkCurrent(std::uint8_t deviceCode, std::int16_t bankNo)
{
    for (stDeviceInfo& device : m_aDeviceInfo)
        device.Current = device.Id == deviceCode ? 1 : 0;
    for (_SBankInfo& bank : m_aBankInfo)
        bank.Current = bank.Id == deviceCode && bank.BankNo == bankNo ? 1 : 0;
}
