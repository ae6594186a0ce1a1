#pragma once

#include "ui/view/DataToolbarUpdate.h"

// What the grid view's tool bar box handlers tell the main frame, and what
// they read back from it. The frame keeps the display settings (it persists
// them) and fills the boxes; the view only reacts to a changed box.
class IGridFrameSettings {
public:
    virtual ~IGridFrameSettings() = default;

    // Store a display setting as chosen; no check and no refill of a box.
    virtual void SetRadix(int radix) = 0;
    virtual void SetDataUnit(int unit) = 0;
    virtual void SetColumnCount(int count) = 0;
    // The stored data unit; after a refill of the unit box for a real radix it
    // is that radix's own unit.
    virtual int GetDataUnit() const = 0;

    // Refills the boxes the update names. The radix handler asks for the unit
    // box only, with the tool bar shown.
    virtual void UpdateDataToolbar(const DataToolbarUpdate& update) = 0;
    // Refills the bank box for the device now selected in the device box and
    // selects the bank at index (-1: none selected).
    virtual void RefillBankCombo(int index) = 0;
};
