#pragma once

// The list columns of the grid: header text, pixel width and alignment of the
// label column, each data column and the text column.

#include "grid/GridLayout.h"

#include <string>
#include <vector>

struct stListHeadInfo {
    std::string Text;
    int Width = 0;  // pixels
    int Format = 0; // HEAD_LEFT or HEAD_CENTRE
    bool operator==(const stListHeadInfo&) const = default;
};

inline constexpr int HEAD_LEFT = 0;
inline constexpr int HEAD_CENTRE = 2;

// One entry per list column of the layout, in order; none for a block without
// bytes. fontHeight is the cell font's height in pixels (12 for the grid's
// font). Widths grow with the longest cell text but less than linearly, so
// wide cells do not take up the whole window.
std::vector<stListHeadInfo> BuildHeadInfo(const GridLayout& layout, int fontHeight);

// The header above the text column: "+0+1+2..." with one "+digit" per 16-bit
// word of a row, counting 0 to 9 and then from 0 again. Each "+digit" stands
// above the two characters of its word.
std::string TextColumnHeader(int words);
