// The application's side of the undo map, apart so that the histories
// themselves need nothing of the application object.

#include "core/CUndoMap.h"

#include "app/CMemorixApp.h"

void CUndoMap::ResetHistory(const CMemorixApp& app, const IBlockStore& doc)
{
    DeviceInfoArray devices;
    BankInfoArray banks;
    app.GetDeviceInfo(devices);
    app.GetBankInfo(banks);
    ResetHistory(devices, banks, app.GetFLBankNum(DeviceCode::FL), doc);
}
