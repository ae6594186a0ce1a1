#pragma once

#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "core/DeviceLists.h"
#include "resources/IStringTable.h"

#include <gtest/gtest.h>

namespace testsupport {

// Makes a catalogue model the application's PLC with fresh lists (nothing
// selected), as the PLC selection and device range dialogs would.
inline void ChooseModel(CMemorixApp& app, const IStringTable& strings, int modelId)
{
    CPlcDatabase db(app.Messages(), app.CataloguePath());
    ASSERT_EQ(db.DBConnect(true), 1);
    stPLC model;
    ASSERT_EQ(db.GetDBPLCRec(model, modelId), 1);
    DeviceInfoArray devices;
    BankInfoArray banks;
    ASSERT_TRUE(BuildDeviceLists(db, modelId, model.FLBankNum, strings, devices, banks));
    app.SetCurrentPlc(model);
    app.RefreshLdtFormat();
    app.SetDeviceInfo(devices);
    app.SetBankInfo(banks);
}

} // namespace testsupport
