#pragma once

// Clearing and filling cells: which bytes of the block to overwrite, and with what. The
// text column is never cleared and cells after the end of the data are never
// written.

#include "grid/CellRange.h"
#include "grid/GridLayout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Bytes to write into the block at offset.
struct BlockWrite {
    std::size_t offset = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const BlockWrite&) const = default;
};

// The cell's B zero bytes; none for the text column or a cell without a value.
std::optional<BlockWrite> ClearCell(const GridLayout& layout, GridCell cell);

// One write from the rectangle's first cell to its last (or to the end of the
// data) in which the rectangle's cells are zero and the cells between its rows
// but outside its columns keep their bytes. The text column is left out; none
// when only the text column is selected or the first cell has no value.
std::optional<BlockWrite> ClearRange(const GridLayout& layout, const CellRange& range);

// As ClearRange, with value (B bytes) in every cell of the rectangle instead of
// zeros; none as ClearRange, or when value is not B bytes long.
std::optional<BlockWrite> FillRange(const GridLayout& layout, const CellRange& range,
                                    const std::vector<std::uint8_t>& value);
