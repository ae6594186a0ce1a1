#include "grid/GridCompare.h"

#include <gtest/gtest.h>

using compare::CellMark;
using compare::Comparison;

namespace {

CEditData Words(std::int32_t start, std::vector<std::uint16_t> words)
{
    CEditData block;
    block.Id = DeviceCode::DT;
    block.StartAddr = start;
    block.EndAddr = start + static_cast<std::int32_t>(words.size()) - 1;
    block.DataSize = 1;
    for (std::uint16_t word : words) {
        block.Data.push_back(static_cast<std::uint8_t>(word));
        block.Data.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return block;
}

std::string Marks(const Comparison& comparison, const GridLayout& layout)
{
    std::string marks;
    for (int row = 0; row < layout.Rows(); ++row)
        for (int column = 0; column < layout.Columns(); ++column) {
            if (!layout.HasValue(row, column))
                continue;
            switch (MarkOfCell(comparison, layout, row, column)) {
            case CellMark::Same: marks += '.'; break;
            case CellMark::Differs: marks += 'D'; break;
            case CellMark::NotCompared: marks += 'n'; break;
            }
        }
    return marks;
}

} // namespace

// Ours: DT 0-7; theirs: DT 2-7 with the low byte of word 3 and the high byte
// of word 6 changed.
TEST(GridCompare, MarksEveryUnitAndTakesTheOtherValuesOfARange)
{
    const CEditData ours = Words(0, {0, 1, 2, 3, 4, 5, 6, 7});
    const Comparison comparison({ours}, {Words(2, {2, 0x0099, 4, 5, 0x0106, 7})});
    struct Case {
        codec::Unit unit;
        std::string marks;
    };
    for (const Case& c : {Case{codec::UNIT_8BIT, "nnnn..D......D.."}, Case{codec::UNIT_16BIT, "nn.D..D."},
                          Case{codec::UNIT_32BIT, "nD.D"}, Case{codec::UNIT_64BIT, "nD"}}) {
        const GridLayout layout(ours, DisplaySetting{codec::RADIX_HEX, c.unit, 4});
        EXPECT_EQ(Marks(comparison, layout), c.marks) << static_cast<int>(c.unit);
    }

    const GridLayout layout(ours, DisplaySetting{codec::RADIX_HEX, codec::UNIT_16BIT, 4});
    EXPECT_EQ(OtherCellBytes(comparison, layout, 0, 3), (std::vector<std::uint8_t>{0x99, 0x00}));
    EXPECT_TRUE(OtherCellBytes(comparison, layout, 0, 1).empty()) << "they do not hold DT 1";
    EXPECT_EQ(CellOfWord(layout, 6), (GridCell{1, 2}));
    EXPECT_EQ(FirstWordOfCell(layout, 1, 2), 6);

    // Only the differing cells of the range change; the write spans the range.
    const auto first = TakeOtherValues(comparison, layout, CellRange{1, 0, 3, 0});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->offset, 2u);
    EXPECT_EQ(first->bytes, (std::vector<std::uint8_t>{1, 0, 2, 0, 0x99, 0}));
    const auto text = TakeOtherValues(comparison, layout, CellRange{4, 1, 4, 1}); // text column: the row
    ASSERT_TRUE(text);
    EXPECT_EQ(text->offset, 8u);
    EXPECT_EQ(text->bytes, (std::vector<std::uint8_t>{4, 0, 5, 0, 6, 1, 7, 0}));
    EXPECT_FALSE(TakeOtherValues(comparison, layout, CellRange{0, 0, 2, 0})) << "nothing differs there";
}
