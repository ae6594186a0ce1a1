#include "app/CMemorixApp.h"

#include "catalogue/CPlcDatabase.h"
#include "core/FormatText.h"
#include "core/RangeRules.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"

#include <algorithm>

namespace {

// Carries an old range into a new device or bank: converted, then clamped to its addresses.
template <class Entry>
void CarryRange(Entry& entry, const ConvertedRange& range)
{
    entry.StartAddr = range.StartAddr;
    entry.EndAddr = range.EndAddr;
    ClampToDevice(entry.StartAddr, entry.EndAddr, entry.MinValue, entry.MaxValue);
}

} // namespace

bool CMemorixApp::RebuildForNewModel()
{
    CPlcDatabase db(m_services.messages, m_services.cataloguePath);
    if (db.DBConnect(true) != 1)
        return false;
    stPLC model;
    std::vector<stDeviceInst> devices;
    const int modelFound = db.GetDBPLCRec(model, m_nPLCId);
    const int deviceCount = db.GetDBDeviceInstAry(devices, m_nPLCId, -1);
    db.DBConnect(false);
    if (modelFound <= 0 || deviceCount <= 0)
        return false;

    const DeviceInfoArray oldDevices = std::move(m_aDeviceInfo);
    const BankInfoArray oldBanks = std::move(m_aBankInfo);
    m_aDeviceInfo.clear();
    m_aBankInfo.clear();

    for (const stDeviceInst& device : devices) {
        const std::int32_t defaultEnd = DefaultEndOf(device, model);
        stDeviceInfo info = MakeDeviceInfo(device, defaultEnd, defaultEnd);
        const auto old = std::find_if(oldDevices.begin(), oldDevices.end(), [&](const stDeviceInfo& o) {
            return o.Id == device.Id && o.Selected == 1;
        });
        if (old != oldDevices.end()) {
            CarryRange(info, ConvertDeviceRange(old->StartAddr, old->EndAddr, old->DataSize, info.DataSize));
            info.Selected = 1;
        }
        m_aDeviceInfo.push_back(info);

        if (device.Id != DeviceCode::FL || m_FLBankNum == 0)
            continue;
        for (int k = 0; k < m_FLBankNum; ++k) {
            _SBankInfo bank = MakeBankInfo(device, static_cast<std::int16_t>(k),
                                           FormatText(m_services.strings.LoadString(res::IDS_BANK_NAME), {k}));
            const auto oldBank = std::find_if(oldBanks.begin(), oldBanks.end(), [&](const _SBankInfo& o) {
                return o.Id == device.Id && o.BankNo == k;
            });
            if (oldBank != oldBanks.end()) {
                CarryRange(bank, ScaleBankRange(oldBank->StartAddr, oldBank->EndAddr, oldBank->DataSize,
                                                bank.DataSize));
                bank.Selected = oldBank->Selected;
            } else if (k == 0) {
                // A model without banks hands its file register over to bank 0.
                const auto oldFl = std::find_if(oldDevices.begin(), oldDevices.end(),
                                                [](const stDeviceInfo& o) { return o.Id == DeviceCode::FL; });
                if (oldFl != oldDevices.end()) {
                    CarryRange(bank, ScaleBankRange(oldFl->StartAddr, oldFl->EndAddr, oldFl->DataSize,
                                                    bank.DataSize));
                    bank.Selected = oldFl->Selected;
                }
            }
            m_aBankInfo.push_back(bank);
        }
    }
    return true;
}
