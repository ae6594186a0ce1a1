#include "DocumentTestSupport.h"

namespace {

std::vector<std::uint8_t> Words(std::int32_t first, std::int32_t last)
{
    std::vector<std::uint8_t> bytes;
    for (std::int32_t w = first; w <= last; ++w) {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

} // namespace

class ReconcileTest : public DocumentTest {
protected:
    // A document whose WR 0..99 holds the word i at address i.
    CMemorixDoc* WrDocument()
    {
        ChooseModel(1792);
        SelectDevice(DeviceCode::WR, 0, 99);
        CMemorixDoc* doc = NewDocument();
        const std::vector<std::uint8_t> words = Words(0, 99);
        doc->WriteBlockBytes(0, words.data(), static_cast<std::int32_t>(words.size()), DeviceCode::WR, 0);
        doc->SetModifiedFlag(false);
        host.replaced.clear();
        return doc;
    }
};

TEST_F(ReconcileTest, NarrowingKeepsTheWordsStillInRange)
{
    CMemorixDoc* doc = WrDocument();
    SelectDevice(DeviceCode::WR, 10, 19);
    doc->ReconcileBlocks();
    EXPECT_EQ(doc->FindBlock(DeviceCode::WR, 0)->Data, Words(10, 19));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(host.replaced.size(), 1u);
}

TEST_F(ReconcileTest, WideningKeepsTheOldWordsAndZeroFillsTheRest)
{
    CMemorixDoc* doc = WrDocument();
    SelectDevice(DeviceCode::WR, 0, 199);
    doc->ReconcileBlocks();
    std::vector<std::uint8_t> expected = Words(0, 99);
    expected.resize(400, 0);
    EXPECT_EQ(doc->FindBlock(DeviceCode::WR, 0)->Data, expected);
}

TEST_F(ReconcileTest, AnUnchangedRangeKeepsItsDataAndTheFlag)
{
    CMemorixDoc* doc = WrDocument();
    doc->ReconcileBlocks();
    EXPECT_EQ(doc->FindBlock(DeviceCode::WR, 0)->Data, Words(0, 99));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ReconcileTest, SelectingAndUnselectingDevicesAddsAndDropsBlocks)
{
    CMemorixDoc* doc = WrDocument();
    SelectDevice(DeviceCode::DT, 0, 9);
    doc->ReconcileBlocks();
    ASSERT_NE(doc->FindBlock(DeviceCode::DT, 0), nullptr);
    EXPECT_EQ(doc->FindBlock(DeviceCode::DT, 0)->Data, std::vector<std::uint8_t>(20, 0));
    EXPECT_TRUE(doc->IsModified());

    doc->SetModifiedFlag(false);
    Unselect(DeviceCode::WR);
    doc->ReconcileBlocks();
    EXPECT_EQ(doc->FindBlock(DeviceCode::WR, 0), nullptr);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_FALSE(host.replaced.empty());
    EXPECT_EQ(host.replaced.back().devices, Devices());
}
