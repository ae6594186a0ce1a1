#include "app/CMemorixApp.h"
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

    // Makes a 16-bit model of the current catalogue the application's PLC.
    void Choose(CMemorixApp& a, int modelId, int is16bit, std::uint8_t banks)
    {
        a.m_nPLCSeriesNo = 2;
        a.m_nPLCId = modelId;
        a.SetIs16bitCPUFlg(is16bit);
        a.SetFLBankNum(DeviceCode::FL, banks);
    }

    platform::ConsoleMessageBox messages{nullptr};
    testsupport::FakeStringTable strings;
    platform::MemorySettingsStore settings;
    std::unique_ptr<CMemorixApp> app;
};

// A catalogue whose model 7 has the seven legacy devices with the given address counts
// (0 leaves the device out).
std::string LegacyDevices(const Scratch& scratch, const std::array<int, 7>& counts)
{
    const int codes[7] = {18, 21, 49, 27, 28, 22, 19};
    std::string sql = testsupport::kUntypedTables;
    for (int i = 0; i < 7; ++i) {
        if (counts[i] > 0) {
            sql += "INSERT INTO MDevice VALUES (7, " + std::to_string(codes[i]) + ", " + std::to_string(i)
                + ", 'D', 100, " + std::to_string(100 + counts[i] - 1) + ", 1);";
        }
    }
    return scratch.Db(sql);
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

TEST_F(AppTest, BankCountBelongsToTheFileRegisterOnly)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    a.SetFLBankNum(DeviceCode::FL, 3);
    a.SetFLBankNum(DeviceCode::DT, 9);
    EXPECT_EQ(a.GetFLBankNum(DeviceCode::FL), 3);
    EXPECT_EQ(a.GetFLBankNum(DeviceCode::DT), 0);
    EXPECT_TRUE(CMemorixApp::IsFLBankDevice(DeviceCode::FL, 1));
    EXPECT_FALSE(CMemorixApp::IsFLBankDevice(DeviceCode::FL, 0));
    EXPECT_FALSE(CMemorixApp::IsFLBankDevice(DeviceCode::DT, 3));
}

TEST_F(AppTest, ListsAreHandedOutAsCopies)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    DeviceInfoArray devices(2);
    devices[0].Name = "WR";
    a.SetDeviceInfo(devices);
    devices[0].Name = "changed";
    DeviceInfoArray out;
    a.GetDeviceInfo(out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].Name, "WR");
    out[0].Selected = 1;
    a.GetDeviceInfo(out);
    EXPECT_EQ(out[0].Selected, 0);
}

TEST_F(AppTest, LegacyFormatFollowsCpuBanksAndMemorySize)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    Choose(a, 34, 0, 3); // banks without a 16-bit CPU: no legacy format
    EXPECT_EQ(a.CalcLdtFormat(), 0);
    Choose(a, 33, 1, 3); // banks win over a large memory
    EXPECT_EQ(a.CalcLdtFormat(), 2048);
    Choose(a, 32, 1, 0);
    EXPECT_EQ(a.CalcLdtFormat(), 16);
    Choose(a, 33, 1, 0);
    EXPECT_EQ(a.CalcLdtFormat(), 32);

    a.SetLdtText1("kept");
    a.SetLdtText2("too");
    EXPECT_EQ(a.RefreshLdtFormat(), 32);
    EXPECT_EQ(a.GetLdtFormat(), 32);
    EXPECT_EQ(a.GetLdtText1(), "");
    EXPECT_EQ(a.GetLdtText2(), "");
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(AppTest, LargeMemoryStartsAtThirtyTwoThousandSevenHundredTwentyEightAddresses)
{
    Scratch scratch;
    // 39 + 32,727 = 32,766: still small; one address more reaches 32,767.
    CMemorixApp& a = MakeApp(LegacyDevices(scratch, {20000, 10000, 2000, 700, 20, 5, 2}));
    a.m_nPLCId = 7;
    EXPECT_FALSE(a.IsLargeDeviceMemory());
    app.reset();
    std::filesystem::remove(scratch.Path("test.db"));
    CMemorixApp& b = MakeApp(LegacyDevices(scratch, {20000, 10000, 2000, 700, 20, 5, 3}));
    b.m_nPLCId = 7;
    EXPECT_TRUE(b.IsLargeDeviceMemory());
}

TEST_F(AppTest, AMissingLegacyDeviceCountsAsOneAddress)
{
    Scratch scratch;
    // WL absent: 39 + 32,726 + 1 = 32,766.
    CMemorixApp& a = MakeApp(LegacyDevices(scratch, {20000, 10000, 2000, 700, 20, 6, 0}));
    a.m_nPLCId = 7;
    EXPECT_FALSE(a.IsLargeDeviceMemory());
    a.m_nPLCId = 8; // no devices at all
    EXPECT_FALSE(a.IsLargeDeviceMemory());
}

TEST_F(AppTest, WithoutACatalogueMemoryCountsAsSmall)
{
    Scratch scratch;
    CMemorixApp& a = MakeApp(scratch.Path("missing.db"));
    Choose(a, 33, 1, 0);
    EXPECT_FALSE(a.IsLargeDeviceMemory());
    EXPECT_EQ(a.RefreshLdtFormat(), 16);
    EXPECT_EQ(messages.Shown().size(), 2u) << "each failed open tells the user";
}

TEST_F(AppTest, ResetPlcStateClearsThePlcAndNothingElse)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    Choose(a, 34, 1, 3);
    a.m_strPLCName = "MB-64F3";
    a.SetDeviceInfo(DeviceInfoArray(4));
    a.SetBankInfo(BankInfoArray(3));
    a.SetLdtText1("a");
    a.SetLdtText2("b");
    a.SetLdtFormat(2048);
    a.m_nStartMode = START_NEW;
    a.SetFilterIndex(2);

    a.ResetPlcState();

    DeviceInfoArray devices;
    BankInfoArray banks;
    a.GetDeviceInfo(devices);
    a.GetBankInfo(banks);
    EXPECT_EQ(a.m_nPLCSeriesNo, 0);
    EXPECT_EQ(a.m_nPLCId, 0);
    EXPECT_EQ(a.m_strPLCName, "");
    EXPECT_EQ(a.GetIs16bitCPUFlg(), 0);
    EXPECT_TRUE(devices.empty());
    EXPECT_TRUE(banks.empty());
    EXPECT_EQ(a.GetLdtText1(), "");
    EXPECT_EQ(a.GetLdtText2(), "");
    EXPECT_EQ(a.GetLdtFormat(), 0);
    EXPECT_EQ(a.GetFLBankNum(DeviceCode::FL), 0);
    EXPECT_EQ(a.m_nStartMode, START_NEW);
    EXPECT_EQ(a.GetFilterIndex(), 2);
}

TEST_F(AppTest, PlcNameComesFromTheModelOfThatSeries)
{
    CMemorixApp& a = MakeApp(BuiltCatalogue());
    EXPECT_EQ(a.SetPlcNameFromCatalogue(1, 1792), 1);
    EXPECT_EQ(a.m_strPLCName, "CA-100");
    EXPECT_EQ(a.SetPlcNameFromCatalogue(2, 1792), 1); // right id, wrong series
    EXPECT_EQ(a.m_strPLCName, "CA-100");
    EXPECT_EQ(a.SetPlcNameFromCatalogue(1, 1795), 1); // disabled
    EXPECT_EQ(a.m_strPLCName, "CA-100");
    EXPECT_EQ(a.SetPlcNameFromCatalogue(2, 34), 1);
    EXPECT_EQ(a.m_strPLCName, "MB-64F3");
}
