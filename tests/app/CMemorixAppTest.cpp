#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "support/FakeStringTable.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testsupport::BuiltCatalogue;
using testsupport::Scratch;

namespace {

class AppTest : public ::testing::Test {
protected:
    CMemorixApp& MakeApp(const std::string& catalogue)
    {
        app = std::make_unique<CMemorixApp>(AppServices{messages, strings, settings, catalogue});
        return *app;
    }

    // Makes a model of the built catalogue the application's PLC, as the PLC dialog does.
    void Choose(CMemorixApp& a, int modelId, int is16bit, std::uint8_t banks)
    {
        CPlcDatabase db(messages, BuiltCatalogue());
        ASSERT_EQ(db.DBConnect(true), 1);
        CatalogueModel catalogue;
        ASSERT_TRUE(ReadCatalogueModel(db, modelId, catalogue));
        catalogue.model.Is16bitCPUFlg = is16bit;
        catalogue.model.FLBankNum = banks;
        a.Plc().SetModel(catalogue.model, catalogue.devices);
    }

    platform::ConsoleMessageBox messages{nullptr};
    testsupport::FakeStringTable strings;
    platform::MemorySettingsStore settings;
    std::unique_ptr<CMemorixApp> app;
};

// Catalogue rows of the seven legacy devices with the given address counts
// (0 leaves the device out).
std::vector<stDeviceInst> LegacyDevices(const std::array<int, 7>& counts)
{
    const std::uint8_t codes[7] = {18, 21, 49, 27, 28, 22, 19};
    std::vector<stDeviceInst> rows;
    for (int i = 0; i < 7; ++i) {
        if (counts[i] > 0)
            rows.push_back({7, codes[i], i, "D", 100, 100 + counts[i] - 1, 1});
    }
    return rows;
}

} // namespace

TEST_F(AppTest, ThereIsOnlyEverOneApplicationObject)
{
    EXPECT_EQ(CMemorixApp::Instance(), nullptr);
    CMemorixApp& first = MakeApp(BuiltCatalogue());
    EXPECT_EQ(CMemorixApp::Instance(), &first);
    EXPECT_THROW(CMemorixApp(AppServices{messages, strings, settings, ""}), std::logic_error);
    EXPECT_EQ(CMemorixApp::Instance(), &first);
    app.reset();
    EXPECT_EQ(CMemorixApp::Instance(), nullptr);
}

TEST(PlcChoiceTest, BankCountBelongsToTheFileRegisterOnly)
{
    PlcChoice plc;
    plc.m_FLBankNum = 3;
    EXPECT_EQ(plc.GetFLBankNum(DeviceCode::FL), 3);
    EXPECT_EQ(plc.GetFLBankNum(DeviceCode::DT), 0);
    EXPECT_TRUE(PlcChoice::IsFLBankDevice(DeviceCode::FL, 1));
    EXPECT_FALSE(PlcChoice::IsFLBankDevice(DeviceCode::FL, 0));
    EXPECT_FALSE(PlcChoice::IsFLBankDevice(DeviceCode::DT, 3));
}

TEST_F(AppTest, LegacyFormatFollowsCpuBanksAndMemorySize)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    Choose(a, 34, 0, 3); // banks without a 16-bit CPU: no legacy format
    EXPECT_EQ(a.Plc().CalcLdtFormat(), 0);
    Choose(a, 33, 1, 3); // banks win over a large memory
    EXPECT_EQ(a.Plc().CalcLdtFormat(), 2048);
    Choose(a, 32, 1, 0);
    EXPECT_EQ(a.Plc().CalcLdtFormat(), 16);
    Choose(a, 33, 1, 0);
    EXPECT_EQ(a.Plc().CalcLdtFormat(), 32);

    a.Plc().m_strLdtText1 = "kept";
    a.Plc().m_strLdtText2 = "too";
    EXPECT_EQ(a.Plc().RefreshLdtFormat(), 32);
    EXPECT_EQ(a.Plc().m_wLdtFormat, 32);
    EXPECT_EQ(a.Plc().m_strLdtText1, "");
    EXPECT_EQ(a.Plc().m_strLdtText2, "");
    EXPECT_TRUE(messages.Shown().empty());
}

TEST(PlcChoiceTest, LargeMemoryStartsAtThirtyTwoThousandSevenHundredTwentyEightAddresses)
{
    // 39 + 32,727 = 32,766: still small; one address more reaches 32,767.
    EXPECT_FALSE(IsLargeDeviceMemory(LegacyDevices({20000, 10000, 2000, 700, 20, 5, 2})));
    EXPECT_TRUE(IsLargeDeviceMemory(LegacyDevices({20000, 10000, 2000, 700, 20, 5, 3})));
}

TEST(PlcChoiceTest, AMissingLegacyDeviceCountsAsOneAddress)
{
    // WL absent: 39 + 32,726 + 1 = 32,766.
    EXPECT_FALSE(IsLargeDeviceMemory(LegacyDevices({20000, 10000, 2000, 700, 20, 6, 0})));
    EXPECT_FALSE(IsLargeDeviceMemory({})) << "no devices at all";
}

TEST_F(AppTest, ResetPlcStateClearsThePlcAndNothingElse)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    Choose(a, 34, 1, 3);
    a.Plc().m_strPLCName = "MB-64F3";
    a.Plc().m_aDeviceInfo = DeviceInfoArray(4);
    a.Plc().m_aBankInfo = BankInfoArray(3);
    a.Plc().m_strLdtText1 = "a";
    a.Plc().m_strLdtText2 = "b";
    a.Plc().m_wLdtFormat = 2048;
    a.SetStartMode(START_NEW);
    a.SetFilterIndex(2);

    a.ResetPlcState();

    DeviceInfoArray devices;
    BankInfoArray banks;
    devices = a.Plc().m_aDeviceInfo;
    banks = a.Plc().m_aBankInfo;
    EXPECT_EQ(a.Plc(), PlcChoice{});
    EXPECT_EQ(a.Plc().m_Is16bitCPUFlg, 0);
    EXPECT_TRUE(devices.empty());
    EXPECT_TRUE(banks.empty());
    EXPECT_EQ(a.Plc().m_strLdtText1, "");
    EXPECT_EQ(a.Plc().m_strLdtText2, "");
    EXPECT_EQ(a.Plc().m_wLdtFormat, 0);
    EXPECT_EQ(a.Plc().m_FLBankNum, 0);
    EXPECT_EQ(a.StartMode(), START_NEW);
    EXPECT_EQ(a.GetFilterIndex(), 2);
}
