#include "DocumentTestSupport.h"

namespace {

const stDeviceInfo& Find(const DeviceInfoArray& devices, std::uint8_t code)
{
    for (const stDeviceInfo& d : devices) {
        if (d.Id == code)
            return d;
    }
    static const stDeviceInfo none;
    ADD_FAILURE() << "no device " << int(code);
    return none;
}

} // namespace

TEST_F(DocumentTest, FileRegisterOfABanklessModelMovesToBankZero)
{
    ChooseModel(33); // no banks; FL 0..16383, DT 0..16383
    SelectDevice(DeviceCode::FL, 100, 199);
    SelectDevice(DeviceCode::DT, 200, 16000);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    Fill(*doc, DeviceCode::FL, 0, 1);

    app->Plc().m_nPLCId = 34; // three banks; the selection dialog stored the model
    app->Plc().m_strPLCName = "MB-64F3";
    app->Plc().m_FLBankNum = 3;
    ASSERT_TRUE(app->RebuildForNewModel());

    const BankInfoArray banks = Banks();
    ASSERT_EQ(banks.size(), 3u);
    EXPECT_EQ(banks[0].StartAddr, 100);
    EXPECT_EQ(banks[0].EndAddr, 199);
    EXPECT_EQ(banks[0].Selected, 1);
    EXPECT_EQ(banks[1].Selected, 0);
    EXPECT_EQ(banks[1].StartAddr, 0);
    EXPECT_EQ(banks[1].EndAddr, 32767);
    EXPECT_EQ(banks[2].Name, "Bank 2");
    const stDeviceInfo dt = Find(Devices(), DeviceCode::DT);
    EXPECT_EQ(dt.StartAddr, 200);
    EXPECT_EQ(dt.EndAddr, 16000);
    EXPECT_EQ(dt.Selected, 1);
    const stDeviceInfo wr = Find(Devices(), DeviceCode::WR);
    EXPECT_EQ(wr.Selected, 0);
    EXPECT_EQ(wr.EndAddr, wr.DefaultEnd);

    doc->ApplyModelChange();
    ASSERT_NE(doc->FindBlock(DeviceCode::FL, 0), nullptr);
    EXPECT_EQ(doc->FindBlock(DeviceCode::FL, 0)->Data[0], 1) << "the bank keeps the file register's data";
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(host.modelChanges.size(), 1u);
    EXPECT_EQ(host.modelChanges[0].modelName, "MB-64F3");
}

TEST_F(DocumentTest, RangesBeyondTheNewModelAreClampedToIt)
{
    ChooseModel(1792); // DT 0..65535
    SelectDevice(DeviceCode::DT, 1000, 60000);
    ASSERT_NE(NewDocument(), nullptr);
    app->Plc().m_nPLCId = 1796; // DT 0..32767
    ASSERT_TRUE(app->RebuildForNewModel());
    const stDeviceInfo dt = Find(Devices(), DeviceCode::DT);
    EXPECT_EQ(dt.StartAddr, 1000);
    EXPECT_EQ(dt.EndAddr, 32767);
}

TEST_F(DocumentTest, AnUnknownModelChangesNothing)
{
    ChooseModel(1792);
    SelectDevice(DeviceCode::DT, 5, 6);
    const DeviceInfoArray before = Devices();
    app->Plc().m_nPLCId = 1795; // disabled
    EXPECT_FALSE(app->RebuildForNewModel());
    const DeviceInfoArray after = Devices();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(Find(after, DeviceCode::DT).StartAddr, 5);
}
