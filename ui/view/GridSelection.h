#pragma once

#include "grid/CellRange.h"

// The grid's cursor and range: the current cell, the two corners of a range
// and the range rectangle between them. Columns are data columns (0 to N - 1,
// N for the text column), rows 0 to R - 1. Without a range the selection is
// the current cell alone.
class GridSelection {
public:
    // How the selection marks one cell: whether it is drawn selected, and on
    // which of its sides the focus border runs.
    struct Mark {
        bool selected = false;
        bool left = false;
        bool top = false;
        bool right = false;
        bool bottom = false;
    };

    // Back to the current cell (0, 0) without a range.
    void Clear() { *this = GridSelection(); }
    // The current cell alone.
    void SetCell(int row, int column);
    // A range from the anchor to the end; the current cell moves to the end,
    // as a drag or Shift with the keys leaves it.
    void SetRange(int anchorRow, int anchorColumn, int endRow, int endColumn);
    // The range rectangle from the anchor and the end.
    void NormalizeRange();

    CellRange Range() const { return {m_nSelLeft, m_nSelTop, m_nSelRight, m_nSelBottom}; }
    bool IsSelected(int row, int column) const;
    // With a range the border runs along its outer edges only; the current cell
    // alone has it on all four sides. Unselected cells have none.
    Mark MarkOf(int row, int column) const;

    int m_nCurCol = 0;
    int m_nCurRow = 0;
    int m_nAnchorCol = 0;
    int m_nAnchorRow = 0;
    int m_nEndCol = 0;
    int m_nEndRow = 0;
    int m_nSelLeft = 0;
    int m_nSelTop = 0;
    int m_nSelRight = 0;
    int m_nSelBottom = 0;
    bool m_bRange = false;     // a range is active
    bool m_bExtending = false; // the range follows the cursor
};
