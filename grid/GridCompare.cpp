#include "grid/GridCompare.h"

#include <algorithm>

namespace {

constexpr int kWordBytes = 2;

int WordsOfCell(const GridLayout& layout)
{
    return std::max(1, layout.CellBytes() / kWordBytes);
}

} // namespace

std::int64_t FirstWordOfCell(const GridLayout& layout, int row, int column)
{
    return static_cast<std::int64_t>(layout.CellOffset(row, column)) / kWordBytes;
}

GridCell CellOfWord(const GridLayout& layout, std::int64_t word)
{
    const std::int64_t cell = word * kWordBytes / layout.CellBytes();
    const int columns = std::max(1, layout.Columns());
    return {static_cast<int>(cell / columns), static_cast<int>(cell % columns)};
}

std::vector<std::uint8_t> OtherCellBytes(const compare::Comparison& comparison, const GridLayout& layout, int row,
                                         int column)
{
    if (column < 0 || column >= layout.Columns() || !layout.HasValue(row, column))
        return {};
    const CEditData& block = layout.Block();
    const std::size_t offset = layout.CellOffset(row, column);
    const std::span<const std::uint8_t> words = comparison.TheirBytes(
        block.Id, block.BankNo, static_cast<std::int64_t>(offset) / kWordBytes, WordsOfCell(layout));
    if (words.empty())
        return {};
    // An 8-bit cell is one byte of its word.
    const std::size_t skip = layout.CellBytes() < kWordBytes ? offset % kWordBytes : 0;
    return {words.begin() + static_cast<std::ptrdiff_t>(skip),
            words.begin() + static_cast<std::ptrdiff_t>(skip + static_cast<std::size_t>(layout.CellBytes()))};
}

compare::CellMark MarkOfCell(const compare::Comparison& comparison, const GridLayout& layout, int row, int column)
{
    if (column < 0 || column >= layout.Columns() || !layout.HasValue(row, column))
        return compare::CellMark::Same;
    const CEditData& block = layout.Block();
    const compare::CellMark mark =
        comparison.MarkOf(block.Id, block.BankNo, FirstWordOfCell(layout, row, column), WordsOfCell(layout));
    if (mark != compare::CellMark::Differs || layout.CellBytes() >= kWordBytes)
        return mark;
    const std::vector<std::uint8_t> theirs = OtherCellBytes(comparison, layout, row, column);
    const std::span<const std::uint8_t> ours = layout.CellData(row, column);
    return std::equal(ours.begin(), ours.end(), theirs.begin(), theirs.end()) ? compare::CellMark::Same
                                                                              : compare::CellMark::Differs;
}

std::optional<BlockWrite> TakeOtherValues(const compare::Comparison& comparison, const GridLayout& layout,
                                          const CellRange& range)
{
    const std::optional<CellRange> clipped = layout.Clip(range);
    if (!clipped)
        return std::nullopt;
    const bool wholeRows = clipped->right >= layout.Columns();
    const int left = wholeRows ? 0 : clipped->left;
    const int right = wholeRows ? layout.Columns() - 1 : clipped->right;
    const std::size_t first = layout.CellOffset(clipped->top, left);
    const std::size_t end =
        std::min(layout.DataBytes(), layout.CellOffset(clipped->bottom, right) + layout.CellBytes());
    if (first >= end)
        return std::nullopt;
    BlockWrite write{first, std::vector<std::uint8_t>(layout.Data().begin() + static_cast<std::ptrdiff_t>(first),
                                                      layout.Data().begin() + static_cast<std::ptrdiff_t>(end))};
    bool any = false;
    for (int row = clipped->top; row <= clipped->bottom; ++row)
        for (int column = left; column <= right; ++column) {
            if (MarkOfCell(comparison, layout, row, column) != compare::CellMark::Differs)
                continue;
            const std::vector<std::uint8_t> theirs = OtherCellBytes(comparison, layout, row, column);
            std::copy(theirs.begin(), theirs.end(),
                      write.bytes.begin() + static_cast<std::ptrdiff_t>(layout.CellOffset(row, column) - first));
            any = true;
        }
    return any ? std::optional<BlockWrite>(std::move(write)) : std::nullopt;
}
