#include "grid/GridClear.h"

#include <algorithm>

std::optional<BlockWrite> ClearCell(const GridLayout& layout, GridCell cell)
{
    if (!layout.HasValue(cell.row, cell.column))
        return std::nullopt;
    return BlockWrite{layout.CellOffset(cell.row, cell.column),
                      std::vector<std::uint8_t>(static_cast<std::size_t>(layout.CellBytes()), 0)};
}

std::optional<BlockWrite> ClearRange(const GridLayout& layout, const CellRange& range)
{
    return FillRange(layout, range, std::vector<std::uint8_t>(static_cast<std::size_t>(layout.CellBytes()), 0));
}

std::optional<BlockWrite> FillRange(const GridLayout& layout, const CellRange& range,
                                    const std::vector<std::uint8_t>& value)
{
    if (value.size() != static_cast<std::size_t>(layout.CellBytes()))
        return std::nullopt;
    CellRange cells = range.Normalised();
    cells.right = std::min(cells.right, layout.Columns() - 1); // never the text column
    if (cells.left > cells.right)
        return std::nullopt;
    const std::optional<CellRange> clipped = layout.Clip(cells);
    if (!clipped)
        return std::nullopt;
    cells = *clipped;

    const auto cellBytes = static_cast<std::size_t>(layout.CellBytes());
    const auto columns = static_cast<std::size_t>(layout.Columns());
    const std::size_t dataBytes = layout.DataBytes();
    const std::size_t first = static_cast<std::size_t>(cells.left) + columns * static_cast<std::size_t>(cells.top);
    const std::size_t last = static_cast<std::size_t>(cells.right) + columns * static_cast<std::size_t>(cells.bottom);
    const std::size_t offset = cellBytes * first;
    if (offset + cellBytes > dataBytes)
        return std::nullopt;
    const std::size_t length =
        cellBytes * last + cellBytes > dataBytes ? dataBytes - offset : cellBytes * (last - first + 1);

    BlockWrite write{offset,
                     std::vector<std::uint8_t>(layout.Data().begin() + static_cast<std::ptrdiff_t>(offset),
                                               layout.Data().begin() + static_cast<std::ptrdiff_t>(offset + length))};
    for (std::size_t index = first; index <= last && cellBytes * index + cellBytes <= dataBytes; ++index) {
        const std::size_t column = index % columns;
        if (column >= static_cast<std::size_t>(cells.left) && column <= static_cast<std::size_t>(cells.right))
            std::copy(value.begin(), value.end(),
                      write.bytes.begin() + static_cast<std::ptrdiff_t>(cellBytes * index - offset));
    }
    return write;
}
