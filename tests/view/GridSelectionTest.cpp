#include "ui/view/GridNavigation.h"
#include "ui/view/GridSelection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The selection as "cur row,column", then " range top,left-bottom,right" when
// a range is on and " drag" while the range follows the cursor.
std::string Describe(const GridSelection& sel)
{
    std::string text = "cur " + std::to_string(sel.CurRow()) + "," + std::to_string(sel.CurCol());
    if (sel.HasRange()) {
        const CellRange range = sel.Range();
        text += " range " + std::to_string(range.top) + "," + std::to_string(range.left) + "-"
                + std::to_string(range.bottom) + "," + std::to_string(range.right);
    }
    if (sel.IsExtending())
        text += " drag";
    return text;
}

struct Case {
    const char* what;
    std::function<void(GridSelection&)> steps;
    std::string expected;
};

void Check(const Case& c)
{
    SCOPED_TRACE(c.what);
    GridSelection sel;
    c.steps(sel);
    EXPECT_EQ(Describe(sel), c.expected);
}

// 4 data columns and the text column, 10 rows, 5 of them on a page.
constexpr NavGrid kGrid{4, 4, 10, 5};

bool Key(GridSelection& sel, NavKey key, bool shift = false, bool ctrl = false)
{
    return Navigate(sel, key, shift, ctrl, kGrid);
}

} // namespace

TEST(GridSelection, OperationsKeepTheRangeTheCornersSpan)
{
    const Case cases[] = {
        {"corners in any order", [](GridSelection& s) { s.SetRange(5, 3, 1, 0); }, "cur 1,0 range 1,0-5,3"},
        {"select all keeps the cursor at the top left and a drag going",
         [](GridSelection& s) {
             s.PressCell(4, 2, false, false);
             s.SelectAll(9, 4);
         },
         "cur 0,0 range 0,0-9,4 drag"},
        {"a cell drops the range and the drag",
         [](GridSelection& s) {
             s.PressCell(1, 1, false, false);
             s.ExtendTo(3, 3);
             s.SetCell(2, 0);
         },
         "cur 2,0"},
        {"shift click extends from the anchor",
         [](GridSelection& s) {
             s.SetCell(1, 1);
             s.PressCell(3, 2, true, false);
         },
         "cur 3,2 range 1,1-3,2 drag"},
        {"shift click on the anchor selects it alone",
         [](GridSelection& s) {
             s.SetRange(1, 1, 3, 3);
             s.PressCell(1, 1, true, false);
         },
         "cur 1,1 drag"},
        {"right button inside the range keeps it",
         [](GridSelection& s) {
             s.SetRange(1, 1, 3, 3);
             s.PressCell(2, 2, false, true);
         },
         "cur 2,2 range 1,1-3,3 drag"},
        {"right button outside the range selects the cell",
         [](GridSelection& s) {
             s.SetRange(1, 1, 3, 3);
             s.PressCell(5, 2, false, true);
         },
         "cur 5,2 drag"},
        {"a drag's end moves without turning the range on",
         [](GridSelection& s) {
             s.SetCell(2, 2);
             s.MoveEnd(4, 0);
         },
         "cur 4,0"},
        {"the first drag step shows the range the corners span",
         [](GridSelection& s) {
             s.PressCell(2, 2, false, false);
             s.MoveEnd(4, 0);
             s.BeginRange();
         },
         "cur 4,0 range 2,0-4,2 drag"},
        {"without a range the block is the cursor",
         [](GridSelection& s) {
             s.SetRange(0, 0, 2, 2);
             s.DropRange();
             EXPECT_EQ(s.Block(), CellRange::Cell(2, 2));
             EXPECT_EQ(s.AnchorRow(), 0);
         },
         "cur 2,2"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(GridSelection, MarksTheRangesOuterEdgesOrTheWholeCursorCell)
{
    GridSelection sel;
    sel.SetRange(3, 2, 1, 1);
    EXPECT_FALSE(sel.MarkOf(0, 1).selected);
    const GridSelection::Mark corner = sel.MarkOf(1, 2);
    EXPECT_TRUE(corner.selected && corner.top && corner.right);
    EXPECT_FALSE(corner.left || corner.bottom);
    sel.SetCell(1, 2);
    const GridSelection::Mark cell = sel.MarkOf(1, 2);
    EXPECT_TRUE(cell.selected && cell.left && cell.top && cell.right && cell.bottom);
    EXPECT_FALSE(sel.IsSelected(1, 1));
}

TEST(GridNavigation, KeysMoveTheCursorAndShiftMovesTheRangesEnd)
{
    const Case cases[] = {
        {"shift starts a range at the cursor",
         [](GridSelection& s) {
             s.SetCell(2, 1);
             EXPECT_TRUE(Key(s, NavKey::Down, true));
             EXPECT_TRUE(Key(s, NavKey::Left, true));
         },
         "cur 3,0 range 2,0-3,1 drag"},
        {"shift on a range extends it from its anchor",
         [](GridSelection& s) {
             s.SetRange(0, 0, 1, 1);
             EXPECT_TRUE(Key(s, NavKey::Right, true));
         },
         "cur 1,2 range 0,0-1,2 drag"},
        {"a key without shift drops the range",
         [](GridSelection& s) {
             s.SetRange(0, 0, 1, 1);
             EXPECT_TRUE(Key(s, NavKey::Down));
         },
         "cur 2,1"},
        {"an impossible move still drops the range",
         [](GridSelection& s) {
             s.SetRange(2, 1, 0, 0);
             EXPECT_FALSE(Key(s, NavKey::Left));
         },
         "cur 0,0"},
        {"tab leaves the range as it is",
         [](GridSelection& s) {
             s.SetRange(0, 0, 1, 1);
             EXPECT_TRUE(Key(s, NavKey::Tab));
         },
         "cur 1,2 range 0,0-1,1"},
        // The range starts at the cell tab moved to, not where the corners were.
        {"shift at the edge after tab marks the cursor cell",
         [](GridSelection& s) {
             EXPECT_TRUE(Key(s, NavKey::Tab));
             EXPECT_FALSE(Key(s, NavKey::Up, true));
         },
         "cur 0,1 range 0,1-0,1 drag"},
        {"enter wraps to the next row's first data column",
         [](GridSelection& s) {
             s.SetCell(0, 3);
             EXPECT_TRUE(Key(s, NavKey::Enter));
         },
         "cur 1,0"},
        {"shift enter wraps back",
         [](GridSelection& s) {
             s.SetCell(1, 0);
             EXPECT_TRUE(Key(s, NavKey::Enter, true));
         },
         "cur 0,3"},
        {"enter in the text column goes down",
         [](GridSelection& s) {
             s.SetCell(0, 4);
             EXPECT_TRUE(Key(s, NavKey::Enter));
         },
         "cur 1,4"},
        {"enter stops at the last cell",
         [](GridSelection& s) {
             s.SetCell(9, 3);
             EXPECT_FALSE(Key(s, NavKey::Enter));
         },
         "cur 9,3"},
        {"page down moves a page less one row", [](GridSelection& s) { EXPECT_TRUE(Key(s, NavKey::PageDown)); },
         "cur 4,0"},
        {"ctrl end goes to the last row's text column",
         [](GridSelection& s) { EXPECT_TRUE(Key(s, NavKey::End, false, true)); }, "cur 9,4"},
    };
    for (const Case& c : cases)
        Check(c);
    GridSelection sel;
    EXPECT_FALSE(Navigate(sel, NavKey::Down, false, false, NavGrid{4, 3, 0, 5})); // no rows
}
