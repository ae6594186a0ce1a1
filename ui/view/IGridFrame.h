#pragma once

#include "undo/IShownBlock.h"
#include "ui/view/IGridFrameSettings.h"
#include "resources/ResourceAbi.h"

#include <optional>
#include <string_view>

// What the grid view needs from the main frame: the selections of the data
// tool bar's boxes, the settings its box handlers store and refill, the data
// tool bar itself and the status bar panes.
class IGridFrame : public IShownBlock, public IGridFrameSettings {
public:
    // The radix box's selected index; none without a box or a selection.
    virtual std::optional<int> SelectedRadixIndex() const = 0;
    // The item data (unit code) of the unit box's selection.
    virtual std::optional<int> SelectedUnitData() const = 0;
    // The column box's selected index (0 for one column).
    virtual std::optional<int> SelectedColumnIndex() const = 0;

    virtual void ShowDataToolbar(bool show) = 0;
    // The view writes the current cell's address into pane 1 and the shown
    // block's address range into pane 2, with fit false.
    virtual void SetStatusText(int pane, std::string_view text, bool fit) = 0;
    // A menu resource of the language library (the context menus); null
    // when there is none.
    virtual const MxMenuResource* FindMenu(int /*id*/) const { return nullptr; }
};
