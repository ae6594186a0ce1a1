#pragma once

#include "codec/ValueCodec.h"

// How the grid shows a block: the radix, the data unit and the column count
// chosen in the data tool bar (codes as in ValueCodec.h).
struct DisplaySetting {
    codec::Radix radix = codec::RADIX_HEX;
    codec::Unit unit = codec::UNIT_16BIT;
    int columnSetting = 8; // 1 to 16

    // The setting the grid works with: a real radix brings its own unit (single
    // 32-bit, double 64-bit) and the column count is kept within 1 to 16.
    // Other radix and unit codes are kept as they are.
    DisplaySetting Normalised() const
    {
        DisplaySetting setting = *this;
        if (radix == codec::RADIX_FLOAT)
            setting.unit = codec::UNIT_32BIT;
        else if (radix == codec::RADIX_DOUBLE)
            setting.unit = codec::UNIT_64BIT;
        setting.columnSetting = columnSetting < 1 ? 1 : columnSetting > 16 ? 16 : columnSetting;
        return setting;
    }

    bool operator==(const DisplaySetting&) const = default;
};
