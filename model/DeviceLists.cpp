#include "model/DeviceLists.h"

#include "model/PlcChoice.h"
#include "model/RangeRules.h"
#include "resources/FormatText.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <utility>

void BuildDeviceLists(const stPLC& model, const std::vector<stDeviceInst>& rows, const IStringTable& strings,
                      DeviceInfoArray& devices, BankInfoArray& banks)
{
    devices.clear();
    banks.clear();
    const std::string bankFormat = strings.LoadString(res::IDS_BANK_NAME);
    for (const stDeviceInst& row : rows) {
        const std::int32_t defaultEnd = DefaultEndOf(row, model);
        devices.push_back(MakeDeviceInfo(row, defaultEnd, defaultEnd));
        if (PlcChoice::IsFLBankDevice(row.Id, model.FLBankNum)) {
            for (int k = 0; k < model.FLBankNum; ++k)
                banks.push_back(MakeBankInfo(row, static_cast<std::int16_t>(k), FormatText(bankFormat, {k})));
        }
    }
}

void SelectAllWithDefaults(DeviceInfoArray& devices, BankInfoArray& banks)
{
    for (stDeviceInfo& device : devices) {
        device.StartAddr = device.MinValue;
        device.EndAddr = device.DefaultEnd;
        device.Selected = 1;
    }
    for (_SBankInfo& bank : banks) {
        bank.StartAddr = bank.MinValue;
        bank.EndAddr = bank.DefaultEnd;
        bank.Selected = 1;
    }
}

void SwapReversedRanges(DeviceInfoArray& devices, BankInfoArray& banks)
{
    for (stDeviceInfo& device : devices) {
        if (device.StartAddr > device.EndAddr)
            std::swap(device.StartAddr, device.EndAddr);
    }
    for (_SBankInfo& bank : banks) {
        if (bank.StartAddr > bank.EndAddr)
            std::swap(bank.StartAddr, bank.EndAddr);
    }
}

bool AnySelected(const DeviceInfoArray& devices, const BankInfoArray& banks)
{
    return std::any_of(devices.begin(), devices.end(), [](const stDeviceInfo& d) { return d.Selected != 0; })
           || std::any_of(banks.begin(), banks.end(), [](const _SBankInfo& b) { return b.Selected != 0; });
}

bool BuildsAnyBlock(const DeviceInfoArray& devices, const BankInfoArray& banks, std::uint8_t bankCount)
{
    return std::any_of(
               devices.begin(), devices.end(),
               [&](const stDeviceInfo& d) { return d.Selected != 0 && !PlcChoice::IsFLBankDevice(d.Id, bankCount); })
           || std::any_of(banks.begin(), banks.end(), [](const _SBankInfo& b) { return b.Selected != 0; });
}
