#include "programs/cli/SelectRange.h"

#include "model/PlcChoice.h"

namespace {

bool WithinDevice(std::int32_t address, std::int32_t minValue, std::int32_t maxValue)
{
    return address >= minValue && address <= maxValue;
}

template <class Entry>
bool ApplyRange(Entry& entry, const DeviceArg& arg, std::string& error)
{
    entry.StartAddr = arg.start.value_or(entry.MinValue);
    entry.EndAddr = arg.end.value_or(entry.DefaultEnd);
    if (arg.start
        && (!WithinDevice(*arg.start, entry.MinValue, entry.MaxValue)
            || !WithinDevice(*arg.end, entry.MinValue, entry.MaxValue))) {
        error = entry.Name + " holds the addresses " + std::to_string(entry.MinValue) + " to "
                + std::to_string(entry.MaxValue);
        return false;
    }
    entry.Selected = 1;
    return true;
}

} // namespace

bool SelectRange(const DeviceArg& arg, std::uint8_t bankCount, DeviceInfoArray& devices, BankInfoArray& banks,
                 std::string& error)
{
    for (stDeviceInfo& device : devices) {
        if (device.Id != arg.code)
            continue;
        if (!PlcChoice::IsFLBankDevice(device.Id, bankCount)) {
            if (arg.bank) {
                error = device.Name + " has no banks";
                return false;
            }
            return ApplyRange(device, arg, error);
        }
        bool any = false;
        for (_SBankInfo& bank : banks) {
            if (bank.Id != device.Id || (arg.bank && bank.BankNo != *arg.bank))
                continue;
            if (!ApplyRange(bank, arg, error))
                return false;
            any = true;
        }
        if (!any) {
            error = device.Name + " has no bank " + std::to_string(arg.bank.value_or(0));
            return false;
        }
        device.Selected = 1;
        return true;
    }
    error = "the model has no such device";
    return false;
}
