#include "core/DeviceLists.h"

#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "core/FormatText.h"
#include "core/RangeRules.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <utility>

bool BuildDeviceLists(CPlcDatabase& db, int modelId, std::uint8_t bankCount, const IStringTable& strings,
                      DeviceInfoArray& devices, BankInfoArray& banks)
{
    devices.clear();
    banks.clear();
    std::vector<stDeviceInst> rows;
    stPLC model;
    if (db.GetDBDeviceInstAry(rows, modelId, -1) <= 0 || db.GetDBPLCRec(model, modelId) <= 0)
        return false;
    const std::string bankFormat = strings.LoadString(res::IDS_BANK_NAME);
    for (const stDeviceInst& row : rows) {
        const std::int32_t defaultEnd = DefaultEndOf(row, model);
        devices.push_back(MakeDeviceInfo(row, defaultEnd, defaultEnd));
        if (CMemorixApp::IsFLBankDevice(row.Id, bankCount)) {
            for (int k = 0; k < bankCount; ++k)
                banks.push_back(MakeBankInfo(row, static_cast<std::int16_t>(k), FormatText(bankFormat, {k})));
        }
    }
    return true;
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
