#pragma once

#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "model/DeviceLists.h"
#include "resources/IStringTable.h"

#include <gtest/gtest.h>

namespace testsupport {

// Makes a catalogue model the application's PLC with fresh lists (nothing
// selected), as the PLC selection and device range dialogs would.
inline void ChooseModel(CMemorixApp& app, const IStringTable& strings, int modelId)
{
    CPlcDatabase db(app.Messages(), app.CataloguePath());
    ASSERT_EQ(db.DBConnect(true), 1);
    CatalogueModel catalogue;
    ASSERT_TRUE(ReadCatalogueModel(db, modelId, catalogue));
    PlcChoice& plc = app.Plc();
    plc.SetModel(catalogue.model, catalogue.devices);
    plc.RefreshLdtFormat();
    BuildDeviceLists(catalogue.model, catalogue.devices, strings, plc.m_aDeviceInfo, plc.m_aBankInfo);
}

} // namespace testsupport
