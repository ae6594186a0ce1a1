#include "app/CMemorixApp.h"

#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "model/DeviceLists.h"
#include "model/RangeRules.h"

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
    CatalogueModel catalogue;
    const bool found = ReadCatalogueModel(db, m_Plc.m_nPLCId, catalogue);
    db.DBConnect(false);
    if (!found)
        return false;

    DeviceInfoArray devices;
    BankInfoArray banks;
    BuildDeviceLists(catalogue.model, catalogue.devices, m_services.strings, devices, banks);
    const DeviceInfoArray& oldDevices = m_Plc.m_aDeviceInfo;
    const BankInfoArray& oldBanks = m_Plc.m_aBankInfo;

    for (stDeviceInfo& info : devices) {
        const auto old = std::find_if(oldDevices.begin(), oldDevices.end(),
                                      [&](const stDeviceInfo& o) { return o.Id == info.Id && o.Selected == 1; });
        if (old != oldDevices.end()) {
            CarryRange(info, ConvertDeviceRange(old->StartAddr, old->EndAddr, old->DataSize, info.DataSize));
            info.Selected = 1;
        }
    }
    for (_SBankInfo& bank : banks) {
        const auto oldBank = std::find_if(oldBanks.begin(), oldBanks.end(), [&](const _SBankInfo& o) {
            return o.Id == bank.Id && o.BankNo == bank.BankNo;
        });
        if (oldBank != oldBanks.end()) {
            CarryRange(bank, ScaleBankRange(oldBank->StartAddr, oldBank->EndAddr, oldBank->DataSize, bank.DataSize));
            bank.Selected = oldBank->Selected;
        } else if (bank.BankNo == 0) {
            // A model without banks hands its file register over to bank 0.
            const auto oldFl = std::find_if(oldDevices.begin(), oldDevices.end(),
                                            [](const stDeviceInfo& o) { return o.Id == DeviceCode::FL; });
            if (oldFl != oldDevices.end()) {
                CarryRange(bank, ScaleBankRange(oldFl->StartAddr, oldFl->EndAddr, oldFl->DataSize, bank.DataSize));
                bank.Selected = oldFl->Selected;
            }
        }
    }
    m_Plc.SetDeviceLists(std::move(devices), std::move(banks));
    return true;
}
