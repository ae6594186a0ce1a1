#pragma once

// Stores lines of cell texts into a copy of a block's bytes: the common part
// of paste and CSV import. The copy is returned whole; the caller writes it
// into the document.

#include "grid/GridLayout.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class CellWriter {
public:
    explicit CellWriter(const GridLayout& layout);

    // Stores the fields of line into row, from firstColumn on. Fields are
    // separated by separator (none: the whole line is one field) and cut at
    // their first LF. Every field is stored, an empty or invalid one as zero.
    // A field in column N or beyond, or in a cell without a value, ends the line.
    void StoreLine(std::string_view line, std::optional<char> separator, int row, int firstColumn);

    // Stores one cell's text (an invalid one as zero); false when the text was
    // no valid value. The cell must have a value.
    bool StoreCell(std::string_view text, int row, int column);

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    const GridLayout& m_layout;
    std::vector<std::uint8_t> m_bytes;
    std::vector<std::uint8_t> m_cell;
};
