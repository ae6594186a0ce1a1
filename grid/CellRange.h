#pragma once

#include <algorithm>

// A rectangle of grid cells: data columns left to right (the text column is
// column N), rows top to bottom, both inclusive. The corners may come in any
// order, as a mouse drag leaves them.
struct CellRange {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static CellRange Cell(int row, int column) { return {column, row, column, row}; }

    CellRange Normalised() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }

    bool operator==(const CellRange&) const = default;
};
