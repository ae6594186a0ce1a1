#pragma once

// The clipboard text of the grid. A copied rectangle is one line per row, each
// ending in CR LF, with a tab between the cells of a line: the cells' texts as
// the grid shows them, except that a real whose shown text is rounded gets a
// text that reads back as its exact bits (empty after the end of the data),
// and for the text column the row's text. Paste reads such text back cell by cell.

#include "grid/CellRange.h"
#include "grid/GridLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of the part of range that lies on the grid (empty when none does);
// a single cell gives its text and CR LF. In the row's text, tabs, CRs and LFs
// become '.', so that the text keeps one line per row and one field per cell.
std::string CopyText(const GridLayout& layout, const CellRange& range);

// The block's bytes after pasting text with its first field at start; none
// when start is not a data cell (the text column included), as nothing is
// pasted then. Lines are separated by CR LF and start again at start's column;
// the text ends at a zero character; fields are separated by tabs and cut at
// their first LF. Every field is stored, an empty or invalid one as zero, so a
// tab at the end of a line zeroes the cell after its last field. Fields right
// of the last data column or after the end of the data and lines below the
// last row are dropped.
std::optional<std::vector<std::uint8_t>> PasteText(const GridLayout& layout, std::string_view text, GridCell start);

// Pastes at the selection's top left cell, whichever corner it was made from.
std::optional<std::vector<std::uint8_t>> PasteText(const GridLayout& layout, std::string_view text,
                                                   const CellRange& selection);
