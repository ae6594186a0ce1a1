#include "GridTestSupport.h"

#include "grid/ClipboardLineEnds.h"
#include "grid/GridClear.h"
#include "grid/GridClipboard.h"
#include "grid/GridLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace codec;
using gridtest::Block;
using gridtest::Counting;
using gridtest::Words;
using Words16 = std::vector<std::uint16_t>;

namespace {

Words16 Applied(const GridLayout& layout, const std::optional<BlockWrite>& write)
{
    std::vector<std::uint8_t> bytes(layout.Data().begin(), layout.Data().end());
    if (write)
        std::copy(write->bytes.begin(), write->bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(write->offset));
    return Words(bytes);
}

} // namespace

TEST(GridCopy, RangesCellsAndTextColumn)
{
    const CEditData block = Block({1, 2, 3, 4, 0x4241, 0x4443, 0x0A0D, 0x4241, 5});
    const GridLayout layout(block, {RADIX_HEX, UNIT_16BIT, 2});
    EXPECT_EQ(CopyText(layout, {0, 0, 1, 1}), "0001\t0002\r\n0003\t0004\r\n");
    EXPECT_EQ(CopyText(layout, {1, 1, 0, 0}), "0001\t0002\r\n0003\t0004\r\n");
    EXPECT_EQ(CopyText(layout, CellRange::Cell(1, 1)), "0004\r\n");
    EXPECT_EQ(CopyText(layout, CellRange::Cell(2, 2)), "ABCD\r\n");
    EXPECT_EQ(CopyText(layout, {0, 4, 2, 4}), "0005\t\t.\r\n");  // short last row; 0x05 has no glyph
    EXPECT_EQ(CopyText(layout, {1, 3, 2, 3}), "4241\t..AB\r\n"); // CR LF in a row's text stays in its field
    EXPECT_EQ(CopyText(layout, {0, 9, 1, 9}), "");
}

TEST(GridPaste, CopiedRangeRoundTripsAtAnotherCell)
{
    const CEditData block = Block(Counting(64, 0x100));
    const GridLayout layout(block, {});
    const std::string copied = CopyText(layout, {2, 1, 4, 2});
    const std::optional<std::vector<std::uint8_t>> pasted = PasteText(layout, copied, GridCell{5, 0});
    ASSERT_TRUE(pasted);
    CEditData after = block;
    after.Data = *pasted;
    const GridLayout afterLayout(after, {});
    EXPECT_EQ(CopyText(afterLayout, {0, 5, 2, 6}), copied);
    EXPECT_EQ(CopyText(afterLayout, {3, 5, 7, 6}), CopyText(layout, {3, 5, 7, 6}));
    EXPECT_EQ(CopyText(afterLayout, {0, 0, 7, 4}), CopyText(layout, {0, 0, 7, 4}));
    EXPECT_EQ(CopyText(afterLayout, {0, 7, 7, 7}), CopyText(layout, {0, 7, 7, 7}));

    // Reals come back bit for bit, though the grid shows them rounded.
    const CEditData reals = Block(
        {0x0001, 0x3F80, 0x0001, 0x0000, 0x0000, 0x7FC0, 0x0000, 0x7F80, 0x0001, 0x4B80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const GridLayout realLayout(reals, {RADIX_FLOAT, UNIT_32BIT, 5});
    const std::string realRow = CopyText(realLayout, {0, 0, 4, 0});
    EXPECT_EQ(realRow, "1.0000001\t1.401298e-45\tNaN\tinf\t16777218\r\n");
    const std::optional<std::vector<std::uint8_t>> realsPasted = PasteText(realLayout, realRow, GridCell{1, 0});
    ASSERT_TRUE(realsPasted);
    const Words16 realWords = Words(*realsPasted);
    EXPECT_EQ(Words16(realWords.begin() + 10, realWords.end()), Words16(realWords.begin(), realWords.begin() + 10));

    // At the right edge the third field has no column; at the bottom the second line no row.
    Words16 edge = Words(*PasteText(layout, "1\t2\t3\r\n4\t5\t6\r\n", GridCell{6, 6}));
    Words16 expected = Counting(64, 0x100);
    expected[54] = 1, expected[55] = 2, expected[62] = 4, expected[63] = 5;
    EXPECT_EQ(edge, expected);
    edge = Words(*PasteText(layout, "1\t2\t3\r\n4\t5\t6\r\n", GridCell{7, 6}));
    expected = Counting(64, 0x100);
    expected[62] = 1, expected[63] = 2;
    EXPECT_EQ(edge, expected);
}

// 3 rows of 4 columns, hexadecimal 16-bit, every word 0x1111 before the paste.
TEST(GridPaste, LinesAndFields)
{
    struct Case {
        std::string text;
        CellRange at;
        Words16 changed; // words that differ from 0x1111 after the paste, index then value
    };
    const Case cases[] = {
        {"1\t2\r\n3\t4\r\n5\t6", {2, 0, 3, 2}, {2, 1, 3, 2, 6, 3, 7, 4, 10, 5, 11, 6}},
        {"1\t2\r\n3\t4\r\n5\t6", {3, 2, 2, 0}, {2, 1, 3, 2, 6, 3, 7, 4, 10, 5, 11, 6}}, // any corner
        {"7\t", CellRange::Cell(0, 0), {0, 7, 1, 0}},         // a trailing tab zeroes the next cell
        {"\t8", CellRange::Cell(0, 0), {0, 0, 1, 8}},         // an empty field is zero
        {"9\nxyz\tA", CellRange::Cell(0, 0), {0, 9, 1, 0xA}}, // a field ends at LF
        {"1\t2\n3\t4", CellRange::Cell(0, 0), {0, 1, 1, 2, 2, 4}},
        {"B\r\n", CellRange::Cell(1, 0), {4, 0xB}}, // nothing after the last CR LF
        {std::string("C\0\tD", 4), CellRange::Cell(0, 0), {0, 0xC}},
        {"zz\t-1", CellRange::Cell(0, 0), {0, 0, 1, 0}}, // invalid texts are zero
        {"", CellRange::Cell(0, 0), {}},
    };
    const CEditData block = Block(Words16(12, 0x1111));
    const GridLayout layout(block, {RADIX_HEX, UNIT_16BIT, 4});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<std::vector<std::uint8_t>> pasted = PasteText(layout, c.text, c.at);
        ASSERT_TRUE(pasted);
        Words16 expected(12, 0x1111);
        for (std::size_t i = 0; i + 1 < c.changed.size(); i += 2)
            expected[c.changed[i]] = c.changed[i + 1];
        EXPECT_EQ(Words(*pasted), expected);
    }
    EXPECT_FALSE(PasteText(layout, "1", GridCell{0, 4})); // the text column
    EXPECT_FALSE(PasteText(layout, "1", GridCell{3, 0}));
}

TEST(GridPaste, LoneCrOrLfEndsARowAsCrLfDoes)
{
    EXPECT_EQ(WithCrLfLineEnds("1\t2\n3\r4\r\n5\n\n6\r"), "1\t2\r\n3\r\n4\r\n5\r\n\r\n6\r\n");
    EXPECT_EQ(WithCrLfLineEnds("\r\r\n"), "\r\n\r\n");
    EXPECT_EQ(WithCrLfLineEnds(""), "");
}

TEST(GridClear, RangeIsOneWriteThatKeepsCellsOutsideTheColumns)
{
    const CEditData block = Block(Counting(100));
    const GridLayout layout(block, {});
    const std::optional<BlockWrite> write = ClearRange(layout, {1, 0, 2, 1});
    ASSERT_TRUE(write);
    EXPECT_EQ(write->offset, 2u);
    EXPECT_EQ(Words(write->bytes), (Words16{0, 0, 4, 5, 6, 7, 8, 9, 0, 0}));

    // The last row is short: the write ends with the data.
    Words16 expected = Counting(100);
    for (int i : {90, 91, 92, 93, 94, 98, 99})
        expected[static_cast<std::size_t>(i)] = 0;
    EXPECT_EQ(Applied(layout, ClearRange(layout, {6, 12, 2, 11})), expected);

    EXPECT_EQ(Applied(layout, ClearCell(layout, {1, 1})), [] {
        Words16 w = Counting(100);
        w[9] = 0;
        return w;
    }());
    EXPECT_FALSE(ClearCell(layout, {12, 4})); // after the end of the data
    EXPECT_FALSE(ClearCell(layout, {0, 8}));  // the text column
    EXPECT_FALSE(ClearRange(layout, {8, 0, 8, 5}));
    EXPECT_FALSE(ClearRange(layout, {4, 12, 7, 12}));
    EXPECT_FALSE(ClearRange(layout, {0, 13, 3, 20}));
}

TEST(GridClear, SelectAllInHexClearsEveryDataCell)
{
    const CEditData block = Block(Counting(100));
    const GridLayout layout(block, {});
    EXPECT_EQ(layout.All(), (CellRange{0, 0, 8, 12}));
    const std::optional<BlockWrite> write = ClearRange(layout, layout.All());
    ASSERT_TRUE(write);
    EXPECT_EQ(write->offset, 0u);
    EXPECT_EQ(write->bytes, std::vector<std::uint8_t>(200, 0));
}
