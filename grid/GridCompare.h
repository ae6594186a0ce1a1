#pragma once

// The grid's cells against a comparison: a cell's mark, the other side's bytes
// of it, taking the other side's values into a range, and the cell that holds
// a differing word. A cell differs when any of its bytes does; the text column
// has no mark.

#include "compare/BlockCompare.h"
#include "grid/GridClear.h"
#include "grid/GridLayout.h"

#include <optional>
#include <vector>

compare::CellMark MarkOfCell(const compare::Comparison& comparison, const GridLayout& layout, int row, int column);

// The other side's B bytes of the cell; empty when it does not hold all of them.
std::vector<std::uint8_t> OtherCellBytes(const compare::Comparison& comparison, const GridLayout& layout, int row,
                                         int column);

// One write that puts the other side's bytes into every differing cell of
// range (data columns; the text column stands for its whole row) and leaves
// every other byte as it is; none when no cell of the range differs.
std::optional<BlockWrite> TakeOtherValues(const compare::Comparison& comparison, const GridLayout& layout,
                                          const CellRange& range);

// The cell holding the word at this offset of the block.
GridCell CellOfWord(const GridLayout& layout, std::int64_t word);
// The offset of the first word of a cell.
std::int64_t FirstWordOfCell(const GridLayout& layout, int row, int column);
