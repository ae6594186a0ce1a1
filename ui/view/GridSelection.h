#pragma once

#include "grid/CellRange.h"

// The grid's cursor and range: the current cell and the two corners of a
// range, the anchor where it started and the end that follows the mouse or
// the keys. Columns are data columns (0 to N - 1, N for the text column),
// rows 0 to R - 1. Without a range the selection is the current cell alone.
//
// The range rectangle is always the one the corners span, whichever order
// they come in. The operations that set a range put the cursor in it; only
// MoveCursor (Enter and Tab) may take the cursor out of a range, which then
// stays as it is.
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
    // The current cell alone: both corners on it, no range, no drag.
    void SetCell(int row, int column);
    // A range from the anchor to the end; the current cell moves to the end,
    // as a drag or Shift with the keys leaves it.
    void SetRange(int anchorRow, int anchorColumn, int endRow, int endColumn);
    // The whole grid as a range with the cursor at its top left cell.
    void SelectAll(int lastRow, int lastColumn);
    // The end and the cursor move to the cell and the range is on: Shift with
    // a click or a key.
    void ExtendTo(int row, int column);
    // The end and the cursor move to the cell; whether a range is on stays
    // (a drag turns it on with its first step, BeginRange).
    void MoveEnd(int row, int column);
    // The cursor alone moves; the corners and the range stay.
    void MoveCursor(int row, int column);
    // Both corners move onto the cursor; whether a range is on stays.
    void AnchorAtCursor();
    // The range between the corners is on (the first step of a drag).
    void BeginRange();
    // The range is off; the corners stay for a later Shift to start from.
    void DropRange() { m_range = false; }
    // Whether the range follows the cursor (a drag, or Shift with the keys).
    void SetExtending(bool extending) { m_extending = extending; }

    // A press of the mouse on a cell. The left button with Shift extends the
    // range to the cell (unless it is the anchor), from the cursor when no
    // range is on; the right button inside
    // the range moves only the cursor, so the context menu works on the
    // range; any other press selects the cell alone. A drag extends after it.
    void PressCell(int row, int column, bool leftWithShift, bool rightButton);

    int CurRow() const { return m_curRow; }
    int CurCol() const { return m_curCol; }
    int AnchorRow() const { return m_anchorRow; }
    int AnchorCol() const { return m_anchorCol; }
    int EndRow() const { return m_endRow; }
    int EndCol() const { return m_endCol; }
    bool HasRange() const { return m_range; }
    bool IsExtending() const { return m_extending; }

    // The rectangle the corners span.
    CellRange Range() const { return CellRange{m_anchorCol, m_anchorRow, m_endCol, m_endRow}.Normalised(); }
    // What the commands work on: the range when it is on, else the current cell.
    CellRange Block() const { return m_range ? Range() : CellRange::Cell(m_curRow, m_curCol); }
    bool IsSelected(int row, int column) const;
    // With a range the border runs along its outer edges only; the current cell
    // alone has it on all four sides. Unselected cells have none.
    Mark MarkOf(int row, int column) const;

private:
    int m_curCol = 0;
    int m_curRow = 0;
    int m_anchorCol = 0;
    int m_anchorRow = 0;
    int m_endCol = 0;
    int m_endRow = 0;
    bool m_range = false;
    bool m_extending = false;
};
