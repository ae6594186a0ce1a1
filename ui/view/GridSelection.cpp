#include "ui/view/GridSelection.h"

#include <algorithm>

void GridSelection::SetCell(int row, int column)
{
    Clear();
    m_nCurRow = row;
    m_nCurCol = column;
    m_nAnchorRow = m_nEndRow = row;
    m_nAnchorCol = m_nEndCol = column;
    NormalizeRange();
}

void GridSelection::SetRange(int anchorRow, int anchorColumn, int endRow, int endColumn)
{
    m_nAnchorRow = anchorRow;
    m_nAnchorCol = anchorColumn;
    m_nEndRow = endRow;
    m_nEndCol = endColumn;
    m_nCurRow = endRow;
    m_nCurCol = endColumn;
    m_bRange = true;
    NormalizeRange();
}

void GridSelection::NormalizeRange()
{
    m_nSelLeft = std::min(m_nAnchorCol, m_nEndCol);
    m_nSelRight = std::max(m_nAnchorCol, m_nEndCol);
    m_nSelTop = std::min(m_nAnchorRow, m_nEndRow);
    m_nSelBottom = std::max(m_nAnchorRow, m_nEndRow);
}

bool GridSelection::IsSelected(int row, int column) const
{
    if (!m_bRange)
        return row == m_nCurRow && column == m_nCurCol;
    return column >= m_nSelLeft && column <= m_nSelRight && row >= m_nSelTop && row <= m_nSelBottom;
}

GridSelection::Mark GridSelection::MarkOf(int row, int column) const
{
    if (!IsSelected(row, column))
        return {};
    if (!m_bRange)
        return {true, true, true, true, true};
    return {true, column == m_nSelLeft, row == m_nSelTop, column == m_nSelRight, row == m_nSelBottom};
}
