#include "GridTestSupport.h"

#include "grid/DevicePrefix.h"
#include "grid/GridHeader.h"
#include "grid/GridLayout.h"

#include <gtest/gtest.h>

using namespace codec;
using gridtest::Block;
using gridtest::Counting;

TEST(GridLayout, ColumnsRowsAndRowAddresses)
{
    struct Case {
        int words, dataSize;
        codec::Radix radix;
        codec::Unit unit;
        int setting;
        int columns, cellBytes, rows, addressStep;
    };
    const Case cases[] = {
        {100, 1, RADIX_HEX, UNIT_16BIT, 8, 8, 2, 13, 8},
        {100, 1, RADIX_HEX, UNIT_8BIT, 8, 16, 1, 13, 8}, // 8-bit cells double the setting
        {100, 1, RADIX_HEX, UNIT_32BIT, 8, 8, 4, 7, 16},
        {100, 2, RADIX_DEC, UNIT_16BIT, 3, 4, 2, 25, 2}, // rows must start on an address
        {100, 2, RADIX_HEX, UNIT_8BIT, 3, 8, 1, 25, 2},
        {100, 1, RADIX_FLOAT, UNIT_16BIT, 8, 8, 4, 7, 16}, // a real brings its own unit
        {100, 1, RADIX_HEX, UNIT_16BIT, 0, 1, 2, 100, 1},  // settings outside 1..16 are kept inside
        {100, 1, RADIX_HEX, UNIT_16BIT, 99, 16, 2, 7, 16},
        {100, 0, RADIX_HEX, UNIT_16BIT, 8, 8, 2, 13, 8}, // a damaged size counts as 1
        {0, 1, RADIX_HEX, UNIT_16BIT, 8, 8, 2, 0, 8},
    };
    for (const Case& c : cases) {
        const CEditData block = Block(Counting(c.words), 16, c.dataSize);
        const GridLayout layout(block, {c.radix, c.unit, c.setting}, "DT");
        SCOPED_TRACE(testing::Message() << c.words << " words W=" << c.dataSize << " " << c.radix << "/" << c.unit
                                        << " x" << c.setting);
        EXPECT_EQ(layout.Columns(), c.columns);
        EXPECT_EQ(layout.CellBytes(), c.cellBytes);
        EXPECT_EQ(layout.Rows(), c.rows);
        EXPECT_EQ(layout.RowAddress(2) - layout.RowAddress(1), c.addressStep);
        EXPECT_EQ(layout.RowAddress(0), 16);
    }
}

// 100 words from DT16, hexadecimal 16-bit, 8 columns: 13 rows, the last with 4 values.
TEST(GridLayout, CellTextsLabelsAndStatus)
{
    std::vector<std::uint16_t> words = Counting(100);
    words[96] = 0x6241; // "Ab" in the text column of the last row
    const CEditData block = Block(words, 16);
    const GridLayout layout(block, {}, "DT");

    EXPECT_EQ(layout.ListColumns(), 10);
    EXPECT_EQ(layout.FormatCell(0, 0), "DT    16");
    EXPECT_EQ(layout.FormatCell(2, 0), "DT    32");
    EXPECT_EQ(layout.FormatCell(0, 1), "0001");
    EXPECT_EQ(layout.FormatCell(1, 8), "0010");
    EXPECT_EQ(layout.FormatCell(12, 4), "0064");
    EXPECT_EQ(layout.FormatCell(12, 5), "");    // after the end of the data
    EXPECT_EQ(layout.FormatCell(12, 9), "Abb"); // 41 62 62 00: the text ends at the zero byte
    EXPECT_EQ(layout.FormatCell(13, 1), "");    // below the last row
    EXPECT_EQ(layout.FormatCell(0, 10), "");

    EXPECT_EQ(layout.CellStatusText(1, 3), " DT    26");
    EXPECT_EQ(layout.CellStatusText(12, 9), " DT   112"); // text column: the row's first cell
    EXPECT_EQ(layout.CellStatusText(12, 5), "");
    EXPECT_EQ(layout.CellStatusText(0, 0), "");
    EXPECT_EQ(layout.RangeStatusText(), " DT    16 -    115");

    EXPECT_EQ(layout.CellAtAddress(115), (GridCell{12, 3}));
    EXPECT_FALSE(layout.CellAtAddress(116));
    EXPECT_FALSE(layout.CellAtAddress(15));
}

// Two words per address, 32-bit cells: every cell is one address; with 64-bit
// cells the second address of a cell is no cell of its own.
TEST(GridLayout, AddressesWithTwoWordsPerAddress)
{
    const CEditData block = Block(Counting(40), 1000, 2);
    const GridLayout wide(block, {RADIX_DEC, UNIT_32BIT, 3});
    EXPECT_EQ(wide.Columns(), 3);
    EXPECT_EQ(wide.RowLabel(1), "  1003");
    EXPECT_EQ(wide.CellStatusText(1, 3), "   1005");
    EXPECT_EQ(wide.CellAtAddress(1005), (GridCell{1, 2}));

    const GridLayout wider(block, {RADIX_HEX, UNIT_64BIT, 1});
    EXPECT_EQ(wider.CellStatusText(1, 1), "   1002");
    EXPECT_EQ(wider.CellAtAddress(1002), (GridCell{1, 0}));
    EXPECT_FALSE(wider.CellAtAddress(1003));
}

TEST(GridHeader, WidthsForFontHeight12)
{
    struct Case {
        codec::Radix radix;
        codec::Unit unit;
        int setting, dataWidth;
    };
    const Case cases[] = {
        {RADIX_HEX, UNIT_16BIT, 8, 46},     {RADIX_DEC, UNIT_16BIT, 8, 66},  {RADIX_DEC, UNIT_16BIT, 16, 66},
        {RADIX_BIN, UNIT_16BIT, 8, 145},    {RADIX_BIN, UNIT_64BIT, 8, 403}, {RADIX_FLOAT, UNIT_32BIT, 8, 102},
        {RADIX_DOUBLE, UNIT_64BIT, 8, 157}, {RADIX_HEX, UNIT_8BIT, 10, 24},  {RADIX_HEX, UNIT_8BIT, 11, 35},
    };
    const CEditData block = Block(Counting(64));
    for (const Case& c : cases) {
        const std::vector<stListHeadInfo> heads = BuildHeadInfo(GridLayout(block, {c.radix, c.unit, c.setting}), 12);
        SCOPED_TRACE(testing::Message() << c.radix << "/" << c.unit << " x" << c.setting);
        ASSERT_GE(heads.size(), 2u);
        EXPECT_EQ(heads[0], (stListHeadInfo{"", 76, HEAD_CENTRE}));
        EXPECT_EQ(heads[1].Width, c.dataWidth);
    }
    const std::vector<stListHeadInfo> hex = BuildHeadInfo(GridLayout(block, {}), 12);
    ASSERT_EQ(hex.size(), 10u);
    EXPECT_EQ(hex[9], (stListHeadInfo{"+0+1+2+3+4+5+6+7", 115, HEAD_LEFT}));
}

TEST(GridHeader, HeaderTexts)
{
    const CEditData block = Block(Counting(64));
    auto texts = [&](DisplaySetting setting) {
        std::vector<std::string> all;
        for (const stListHeadInfo& head : BuildHeadInfo(GridLayout(block, setting), 12))
            all.push_back(head.Text);
        return all;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(texts({RADIX_DEC, UNIT_8BIT, 2}), (Texts{"", "+0", "", "+1", ""}));
    EXPECT_EQ(texts({RADIX_DEC, UNIT_32BIT, 3}), (Texts{"", "+0", "+2", "+4"}));
    EXPECT_EQ(texts({RADIX_HEX, UNIT_16BIT, 16}).back(), "+0+1+2+3+4+5+6+7+8+9+0+1+2+3+4+5");
    EXPECT_EQ(TextColumnHeader(0), "");

    const CEditData empty = Block({});
    EXPECT_TRUE(BuildHeadInfo(GridLayout(empty, {}), 12).empty());
}

TEST(GridDevicePrefix, CatalogueNameOrTwoLetterName)
{
    const std::vector<stDispDevString> names = {{DeviceCode::DT, "D"}, {DeviceCode::WR, ""}, {DeviceCode::DT, "X"}};
    EXPECT_EQ(DevicePrefix(DeviceCode::DT, names), "D");
    EXPECT_EQ(DevicePrefix(DeviceCode::WR, names), "WR");
    EXPECT_EQ(DevicePrefix(DeviceCode::FL, names), "FL");
    EXPECT_EQ(DevicePrefix(DeviceCode::None, names), "");

    stDeviceInfo device;
    device.Id = DeviceCode::LD;
    device.Name = "LD";
    EXPECT_EQ(DispDevStrings({device}).at(0).Name, "LD");
}
