// Go To, Find and Fill without a window: the address a user types, the
// matches of a value or a text, and the bytes a fill writes.

#include "GridTestSupport.h"
#include "grid/GoToAddress.h"
#include "grid/GridClear.h"
#include "grid/GridFind.h"

#include <gtest/gtest.h>

using gridtest::Block;
using gridtest::Counting;

namespace {

CEditData Device(std::uint8_t code, std::int16_t bank, std::int32_t start, std::int32_t end)
{
    CEditData block = Block(std::vector<std::uint16_t>(static_cast<std::size_t>(end - start + 1)), start);
    block.Id = code;
    block.BankNo = bank;
    return block;
}

} // namespace

TEST(GoTo, ReadsAddressesAsUsersWriteThem)
{
    const std::vector<stDispDevString> names = {{DeviceCode::WR, "WR"}, {DeviceCode::WL, "WL"}, {DeviceCode::DT, "DT"},
                                                {DeviceCode::LD, "LD"}, {DeviceCode::FL, "FL"}, {DeviceCode::TS, "TS"}};
    const EditDataArray blocks = {Device(DeviceCode::WR, 0, 0, 63),       Device(DeviceCode::WL, 0, 0, 9),
                                  Device(DeviceCode::DT, 0, 100, 499999), Device(DeviceCode::FL, 0, 0, 99),
                                  Device(DeviceCode::FL, 2, 0, 999),      Device(DeviceCode::TS, 0, 0, 15)};
    const CEditData* shown = &blocks[2];
    struct Case {
        const char* text;
        GoToError error;
        std::uint8_t code;
        std::int16_t bank;
        std::int64_t address;
    };
    const Case cases[] = {
        {"DT400000", GoToError::None, DeviceCode::DT, 0, 400000},
        {"DT 1234", GoToError::None, DeviceCode::DT, 0, 1234},
        {"  dt1234 ", GoToError::None, DeviceCode::DT, 0, 1234},
        {"WR10", GoToError::None, DeviceCode::WR, 0, 10},
        {"wl 9", GoToError::None, DeviceCode::WL, 0, 9},
        {"FL#2 100", GoToError::None, DeviceCode::FL, 2, 100},
        {"fl#2   100", GoToError::None, DeviceCode::FL, 2, 100},
        {"FL 5", GoToError::None, DeviceCode::FL, 0, 5},
        {"TS15", GoToError::None, DeviceCode::TS, 0, 15},
        {"300", GoToError::None, DeviceCode::DT, 0, 300},
        {"DT99", GoToError::OutOfRange, DeviceCode::DT, 0, 99},
        {"DT500000", GoToError::OutOfRange, DeviceCode::DT, 0, 500000},
        {"WL10", GoToError::OutOfRange, DeviceCode::WL, 0, 10},
        {"FL#1 0", GoToError::NoBlock, DeviceCode::FL, 1, 0},
        {"LD0", GoToError::NoBlock, DeviceCode::LD, 0, 0},
        {"XY10", GoToError::UnknownDevice, 0, 0, 0},
        {"DT", GoToError::NotAnAddress, DeviceCode::DT, 0, 0},
        {"DT-5", GoToError::NotAnAddress, DeviceCode::DT, 0, 0},
        {"DT 12a", GoToError::NotAnAddress, DeviceCode::DT, 0, 0},
        {"", GoToError::NotAnAddress, 0, 0, 0},
        {"FL#x 1", GoToError::NotAnAddress, DeviceCode::FL, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const GoToResult result = ParseGoToAddress(c.text, names, blocks, shown);
        EXPECT_EQ(result.error, c.error);
        if (c.error == GoToError::None || c.error == GoToError::OutOfRange || c.error == GoToError::NoBlock) {
            EXPECT_EQ(result.target.deviceCode, c.code);
            EXPECT_EQ(result.target.bank, c.bank);
        }
        if (c.error == GoToError::None || c.error == GoToError::OutOfRange) {
            EXPECT_EQ(result.target.address, c.address);
        }
    }
    EXPECT_EQ(ParseGoToAddress("12", names, blocks, nullptr).error, GoToError::NotAnAddress);
}

TEST(Find, ValuesMatchWholeCellsAcrossRowsAndBlocks)
{
    // 0x1234 sits in DT at words 3 and 9, and straddles words 5/6 as bytes;
    // FL holds it at word 0.
    std::vector<std::uint16_t> words = Counting(12, 0x100);
    words[3] = words[9] = 0x1234;
    words[5] = 0x3400;
    words[6] = 0x0012;
    const EditDataArray blocks = {Block(words), Device(DeviceCode::FL, 0, 0, 3)};
    EditDataArray withFl = blocks;
    withFl[1].Data[0] = 0x34;
    withFl[1].Data[1] = 0x12;
    const auto value = ValuePattern("1234", codec::RADIX_HEX, codec::UNIT_16BIT);
    ASSERT_TRUE(value);

    struct Case {
        const char* what;
        FindPosition from;
        bool forward, all;
        FindPosition at;
        bool wrapped;
    };
    const Case cases[] = {
        {"from the start", {0, 0}, true, false, {0, 6}, false},
        {"next", {0, 6}, true, false, {0, 18}, false},
        {"wraps in the block", {0, 18}, true, false, {0, 6}, true},
        {"on into the next block", {0, 18}, true, true, {1, 0}, false},
        {"round to the first block", {1, 0}, true, true, {0, 6}, true},
        {"backward", {0, 18}, false, false, {0, 6}, false},
        {"backward wraps", {0, 6}, false, false, {0, 18}, true},
        {"backward into the previous block", {1, 0}, false, true, {0, 18}, false},
        {"backward round to the last block", {0, 6}, false, true, {1, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto found = FindNext(withFl, *value, c.from, c.forward, c.all);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->at, c.at);
        EXPECT_EQ(found->wrapped, c.wrapped);
    }
    EXPECT_EQ(FindAllInBlock(withFl[0], *value), (std::vector<std::size_t>{6, 18}));
    // The only match is where the search starts: found again, after the wrap.
    const auto alone = FindNext(blocks, *ValuePattern("10B", codec::RADIX_HEX, codec::UNIT_16BIT), {0, 22}, true, true);
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->at, (FindPosition{0, 22}));
    EXPECT_TRUE(alone->wrapped);
    EXPECT_FALSE(FindNext(blocks, *ValuePattern("7777", codec::RADIX_HEX, codec::UNIT_16BIT), {0, 0}, true, true));

    // 32- and 64-bit cells: only whole cells; a value across two cells is no match.
    const EditDataArray wide = {Block({1, 2, 0x5678, 0x1234, 0x1234, 0x5678, 0, 0})};
    const auto dword = ValuePattern("12345678", codec::RADIX_HEX, codec::UNIT_32BIT);
    ASSERT_TRUE(dword);
    EXPECT_EQ(FindAllInBlock(wide[0], *dword), (std::vector<std::size_t>{4}));
    const auto qword = ValuePattern("305419896", codec::RADIX_DEC, codec::UNIT_64BIT);
    ASSERT_TRUE(qword);
    EXPECT_TRUE(FindAllInBlock(wide[0], *qword).empty());
    EXPECT_EQ(FindAllInBlock(Block({0x5678, 0x1234, 0, 0}), *qword), (std::vector<std::size_t>{0}));
    EXPECT_EQ(FindAllInBlock(Block({0, 0, 0xFFFF, 0xFFFF}), *ValuePattern("-1", codec::RADIX_DEC, codec::UNIT_32BIT)),
              (std::vector<std::size_t>{4}));
    for (const char* bad : {"12G4", "10000", ""})
        EXPECT_FALSE(ValuePattern(bad, codec::RADIX_HEX, codec::UNIT_16BIT)) << bad;
    EXPECT_FALSE(ValuePattern("1e39", codec::RADIX_FLOAT, codec::UNIT_32BIT));
}

TEST(Find, TextMatchesAtAnyByteWithDoubleByteCharacters)
{
    // "日本" in Shift_JIS is 93 FA 96 7B; here it starts at an odd byte.
    const CEditData block = Block({0x9341, 0x96FA, 0x007B, 0xFA93, 0x7B96});
    const FindPattern text{{0x93, 0xFA, 0x96, 0x7B}, 1};
    EXPECT_EQ(FindAllInBlock(block, text), (std::vector<std::size_t>{1, 6}));
    const auto next = FindNext({block}, text, {0, 1}, true, false);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->at.offset, 6u);
}

TEST(Fill, WritesTheValueIntoTheRectangleOnly)
{
    // 4 columns of 16 bits, rows of DT 0-3, 4-7, 8-9; fill columns 1-2 of rows 0-1.
    const CEditData block = Block(Counting(10));
    const GridLayout layout(block, DisplaySetting{codec::RADIX_HEX, codec::UNIT_16BIT, 4});
    const auto write = FillRange(layout, CellRange{1, 0, 2, 1}, {0xCD, 0xAB});
    ASSERT_TRUE(write);
    EXPECT_EQ(write->offset, 2u);
    EXPECT_EQ(gridtest::Words(write->bytes), (std::vector<std::uint16_t>{0xABCD, 0xABCD, 4, 5, 0xABCD, 0xABCD}));
    EXPECT_FALSE(FillRange(layout, CellRange{0, 0, 0, 0}, {1, 2, 3, 4})) << "a value of another size";
    // The last row ends early: the fill stops at the data's end.
    const auto tail = FillRange(layout, CellRange{0, 2, 3, 2}, {0, 0});
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->bytes.size(), 4u);
}
