#pragma once

#include "ui/view/GridSelection.h"

// The keys that move the grid's cursor.
enum class NavKey { Tab, Enter, PageUp, PageDown, Home, End, Left, Right, Up, Down };

// What a move needs to know of the grid: N data columns, the last column the
// cursor may reach (N for the text column of the hexadecimal radix, else
// N - 1), R rows and how many rows the list shows in full.
struct NavGrid {
    int columns = 0;
    int lastColumn = 0;
    int rows = 0;
    int rowsPerPage = 1;
};

// Moves the cursor for one key, with Shift extending the range and Ctrl
// jumping to the edge; false when the move is impossible (the cursor stays,
// though a key without Shift still collapses a range). Enter and Tab never
// touch the range. Page Up and Page Down move by a page less one row, but by
// at least one row. A grid without rows or columns has nothing to move to.
bool Navigate(GridSelection& selection, NavKey key, bool shift, bool ctrl, const NavGrid& grid);
