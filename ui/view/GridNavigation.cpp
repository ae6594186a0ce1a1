#include "ui/view/GridNavigation.h"

#include <algorithm>

namespace {

// The range bookkeeping before a move: without Shift the selection collapses
// to the cursor; the first move with Shift starts a range at the cursor.
void TrackRange(GridSelection& sel, bool shift)
{
    if (!shift) {
        sel.SetExtending(false);
        sel.DropRange();
        return;
    }
    if (!sel.IsExtending()) {
        sel.SetExtending(true);
        if (!sel.HasRange())
            sel.AnchorAtCursor();
    }
    sel.BeginRange();
}

} // namespace

bool Navigate(GridSelection& sel, NavKey key, bool shift, bool ctrl, const NavGrid& grid)
{
    if (grid.rows <= 0 || grid.columns <= 0)
        return false;
    const bool rangeKey = key != NavKey::Enter && key != NavKey::Tab;
    if (rangeKey)
        TrackRange(sel, shift);

    const int n = grid.columns;
    const int last = grid.lastColumn;
    const int lastRow = grid.rows - 1;
    const int step = std::max(1, grid.rowsPerPage - 1);
    int c = sel.CurCol();
    int r = sel.CurRow();

    switch (key) {
    case NavKey::Tab:
        if (shift ? c < 1 : c >= last)
            return false;
        c += shift ? -1 : 1;
        break;
    case NavKey::Enter:
        if (c >= n) { // the text column: row by row
            if (shift ? r < 1 : r >= lastRow)
                return false;
            r += shift ? -1 : 1;
        } else if (!shift) {
            if (c < n - 1) {
                ++c;
            } else {
                if (r >= lastRow)
                    return false;
                c = 0;
                ++r;
            }
        } else {
            if (c > 0) {
                --c;
            } else {
                if (r < 1)
                    return false;
                c = n - 1;
                --r;
            }
        }
        break;
    case NavKey::PageUp:
        if (ctrl) {
            r = 0;
        } else {
            if (r < 1)
                return false;
            r = std::max(0, r - step);
        }
        break;
    case NavKey::PageDown:
        if (ctrl) {
            r = lastRow;
        } else {
            if (r >= lastRow)
                return false;
            r = std::min(lastRow, r + step);
        }
        break;
    case NavKey::Home:
        c = 0;
        if (ctrl)
            r = 0;
        break;
    case NavKey::End:
        c = last;
        if (ctrl)
            r = lastRow;
        break;
    case NavKey::Left:
        if (ctrl) {
            c = 0;
        } else {
            if (c < 1)
                return false;
            --c;
        }
        break;
    case NavKey::Right:
        if (ctrl) {
            c = last;
        } else {
            if (c >= last)
                return false;
            ++c;
        }
        break;
    case NavKey::Up:
        if (ctrl) {
            r = 0;
        } else {
            if (r < 1)
                return false;
            --r;
        }
        break;
    case NavKey::Down:
        if (ctrl) {
            r = lastRow;
        } else {
            if (r >= lastRow)
                return false;
            ++r;
        }
        break;
    }

    if (rangeKey && sel.IsExtending())
        sel.ExtendTo(r, c);
    else
        sel.MoveCursor(r, c);
    return true;
}
