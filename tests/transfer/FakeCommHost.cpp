#include "FakeCommHost.h"

namespace transfertest {

bool Selection::operator()(PlcChoice& choice) const
{
    for (stDeviceInfo& device : choice.m_aDeviceInfo) {
        device.Selected = 0;
        for (const Range& r : devices)
            if (r.key == device.Id) {
                device.Selected = 1;
                device.StartAddr = r.start;
                device.EndAddr = r.end;
            }
    }
    for (_SBankInfo& bank : choice.m_aBankInfo) {
        bank.Selected = 0;
        for (const Range& r : banks)
            if (r.key == bank.BankNo) {
                bank.Selected = 1;
                bank.StartAddr = r.start;
                bank.EndAddr = r.end;
            }
    }
    return true;
}

} // namespace transfertest
