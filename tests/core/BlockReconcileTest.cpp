#include "model/BlockReconcile.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// A block whose word at offset i holds first + i.
CEditData Counting(std::uint8_t code, std::int16_t bank, std::int32_t start, std::int32_t end, std::int32_t size,
                   std::uint16_t first)
{
    CEditData block = MakeBlankBlock(code, bank, start, end, size);
    for (std::size_t i = 0; i < block.Data.size() / 2; ++i) {
        block.Data[2 * i] = static_cast<std::uint8_t>((first + i) & 0xFF);
        block.Data[2 * i + 1] = static_cast<std::uint8_t>((first + i) >> 8);
    }
    return block;
}

std::vector<std::uint16_t> WordsOf(const CEditData& block)
{
    std::vector<std::uint16_t> words;
    for (std::size_t i = 0; i + 1 < block.Data.size(); i += 2)
        words.push_back(static_cast<std::uint16_t>(block.Data[i] | block.Data[i + 1] << 8));
    return words;
}

struct Entry {
    bool selected;
    std::int32_t start, end, size;
};

struct Row {
    const char* name;
    bool banked;                      // FL bank 1 of a two-bank model, or WR
    std::optional<CEditData> before;  // the previous block, if any
    Entry entry;                      // the new list entry
    std::vector<std::uint16_t> after; // the new block's words; empty: no block
    bool changed;
    bool modified;
};

std::vector<Row> Rows()
{
    namespace C = DeviceCode;
    const auto wr = [](std::int32_t s, std::int32_t e, std::int32_t size, std::uint16_t first) {
        return Counting(C::WR, 0, s, e, size, first);
    };
    const auto fl = [](std::int32_t s, std::int32_t e, std::int32_t size, std::uint16_t first) {
        return Counting(C::FL, 1, s, e, size, first);
    };
    return {
        {"same range keeps data, not modified", false, wr(0, 3, 1, 10), {true, 0, 3, 1}, {10, 11, 12, 13}, true, false},
        {"narrowed keeps the words in range", false, wr(0, 5, 1, 10), {true, 2, 3, 1}, {12, 13}, true, true},
        {"widened zero-fills the new words", false, wr(2, 3, 1, 10), {true, 0, 5, 1}, {0, 0, 10, 11, 0, 0}, true, true},
        {"disjoint new range is all zero", false, wr(0, 1, 1, 10), {true, 5, 6, 1}, {0, 0}, true, false},
        {"unselected drops the block", false, wr(0, 1, 1, 10), {false, 0, 1, 1}, {}, true, true},
        {"newly selected is a zero block", false, std::nullopt, {true, 0, 2, 1}, {0, 0, 0}, true, true},
        {"unselected and absent changes nothing", false, std::nullopt, {false, 0, 2, 1}, {}, false, false},
        // One word per address becomes two: the converted range equals the new one,
        // so the words land whole after the remainder.
        {"device carried to 2 words per address",
         false,
         wr(0, 3, 1, 10),
         {true, 0, 1, 2},
         {10, 11, 12, 13},
         true,
         false},
        {"device with a remainder shifts its words",
         false,
         wr(1, 2, 1, 10),
         {true, 0, 1, 2},
         {0, 10, 11, 0},
         true,
         false},
        {"bank same range keeps data", true, fl(0, 2, 1, 7), {true, 0, 2, 1}, {7, 8, 9}, true, false},
        {"bank narrowed", true, fl(0, 4, 1, 7), {true, 1, 2, 1}, {8, 9}, true, true},
        {"bank unselected drops", true, fl(0, 4, 1, 7), {false, 0, 4, 1}, {}, true, true},
        {"bank scaled to 2 words per address", true, fl(0, 3, 1, 7), {true, 0, 1, 2}, {7, 8, 9, 10}, true, false},
        {"a previous block shorter than its range is read only as far as it goes",
         false,
         [] {
             CEditData cut = Counting(C::WR, 0, 0, 3, 1, 10);
             cut.Data.resize(3);
             return cut;
         }(),
         {true, 0, 3, 1},
         {10, 0x0B, 0, 0},
         true,
         false},
    };
}

} // namespace

TEST(BlockReconcile, EachRowGivesTheBlockFlagsAndWords)
{
    for (const Row& row : Rows()) {
        PlcChoice plc;
        if (row.banked) {
            plc.SetBankCount(2);
            stDeviceInfo fl;
            fl.Id = DeviceCode::FL;
            _SBankInfo bank;
            bank.BankNo = 1;
            bank.Selected = row.entry.selected;
            bank.StartAddr = row.entry.start;
            bank.EndAddr = row.entry.end;
            bank.DataSize = row.entry.size;
            plc.SetDeviceLists({fl}, {bank});
        } else {
            stDeviceInfo wr;
            wr.Id = DeviceCode::WR;
            wr.Selected = row.entry.selected;
            wr.StartAddr = row.entry.start;
            wr.EndAddr = row.entry.end;
            wr.DataSize = row.entry.size;
            plc.SetDeviceLists({wr}, {});
        }
        EditDataArray before;
        if (row.before)
            before.push_back(*row.before);

        const ReconciledBlocks result = ReconcileBlockList(before, plc);

        SCOPED_TRACE(row.name);
        EXPECT_EQ(result.changed, row.changed);
        EXPECT_EQ(result.modified, row.modified);
        if (row.after.empty()) {
            EXPECT_TRUE(result.blocks.empty());
            continue;
        }
        ASSERT_EQ(result.blocks.size(), 1u);
        const CEditData& block = result.blocks.front();
        EXPECT_EQ(block.Id, row.banked ? DeviceCode::FL : DeviceCode::WR);
        EXPECT_EQ(block.BankNo, row.banked ? 1 : 0);
        EXPECT_EQ(block.StartAddr, row.entry.start);
        EXPECT_EQ(block.EndAddr, row.entry.end);
        EXPECT_EQ(WordsOf(block), row.after);
    }
}

TEST(BlockReconcile, BlocksFollowTheListOrderAndABankedDeviceHasNoBlockOfItsOwn)
{
    PlcChoice plc;
    plc.SetBankCount(2);
    std::vector<stDeviceInfo> devices(3);
    devices[0].Id = DeviceCode::DT;
    devices[1].Id = DeviceCode::FL; // banked: its banks hold the data
    devices[2].Id = DeviceCode::WR;
    for (stDeviceInfo& d : devices) {
        d.Selected = 1;
        d.EndAddr = 1;
        d.DataSize = 1;
    }
    std::vector<_SBankInfo> banks(2);
    for (std::int16_t i = 0; i < 2; ++i) {
        banks[i].BankNo = i;
        banks[i].Selected = 1;
        banks[i].EndAddr = 0;
        banks[i].DataSize = 1;
    }
    plc.SetDeviceLists(devices, banks);
    const EditDataArray before = {Counting(DeviceCode::WR, 0, 0, 1, 1, 5), Counting(DeviceCode::FL, 1, 0, 0, 1, 9)};

    const ReconciledBlocks result = ReconcileBlockList(before, plc);

    ASSERT_EQ(result.blocks.size(), 4u);
    EXPECT_EQ(result.blocks[0].Id, DeviceCode::DT);
    EXPECT_EQ(result.blocks[1].Id, DeviceCode::WR);
    EXPECT_EQ(WordsOf(result.blocks[1]), (std::vector<std::uint16_t>{5, 6}));
    EXPECT_EQ(result.blocks[2].BankNo, 0);
    EXPECT_EQ(WordsOf(result.blocks[3]), std::vector<std::uint16_t>{9});
}
