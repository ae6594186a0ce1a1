#include "ui/view/GridSelection.h"

void GridSelection::SetCell(int row, int column)
{
    Clear();
    m_curRow = m_anchorRow = m_endRow = row;
    m_curCol = m_anchorCol = m_endCol = column;
}

void GridSelection::SetRange(int anchorRow, int anchorColumn, int endRow, int endColumn)
{
    m_anchorRow = anchorRow;
    m_anchorCol = anchorColumn;
    ExtendTo(endRow, endColumn);
}

void GridSelection::SelectAll(int lastRow, int lastColumn)
{
    SetRange(0, 0, lastRow, lastColumn);
    m_curRow = 0;
    m_curCol = 0;
}

void GridSelection::ExtendTo(int row, int column)
{
    MoveEnd(row, column);
    m_range = true;
}

void GridSelection::MoveEnd(int row, int column)
{
    m_curRow = m_endRow = row;
    m_curCol = m_endCol = column;
}

void GridSelection::MoveCursor(int row, int column)
{
    m_curRow = row;
    m_curCol = column;
}

void GridSelection::AnchorAtCursor()
{
    m_anchorRow = m_endRow = m_curRow;
    m_anchorCol = m_endCol = m_curCol;
}

void GridSelection::BeginRange()
{
    m_range = true;
}

void GridSelection::PressCell(int row, int column, bool leftWithShift, bool rightButton)
{
    // Without a range the cursor may have moved on from the anchor by the
    // keys: Shift with a click extends from where the cursor is.
    if (leftWithShift && !m_range)
        AnchorAtCursor();
    const bool onAnchor = row == m_anchorRow && column == m_anchorCol;
    if (leftWithShift && !onAnchor)
        ExtendTo(row, column);
    else if (rightButton && m_range && IsSelected(row, column))
        MoveCursor(row, column);
    else
        SetCell(row, column);
    m_extending = true;
}

bool GridSelection::IsSelected(int row, int column) const
{
    if (!m_range)
        return row == m_curRow && column == m_curCol;
    const CellRange range = Range();
    return column >= range.left && column <= range.right && row >= range.top && row <= range.bottom;
}

GridSelection::Mark GridSelection::MarkOf(int row, int column) const
{
    if (!IsSelected(row, column))
        return {};
    if (!m_range)
        return {true, true, true, true, true};
    const CellRange range = Range();
    return {true, column == range.left, row == range.top, column == range.right, row == range.bottom};
}
