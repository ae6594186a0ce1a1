#pragma once

#include <cstdint>

// Which block the grid shows: the device and bank selected in the main frame's
// data tool bar.
class IShownBlock {
public:
    virtual ~IShownBlock() = default;
    // 0xFF when no device is selected.
    virtual std::uint8_t GetSelectedDeviceCode() const = 0;
    // 0 when no bank is selected.
    virtual std::uint16_t GetSelectedBank() const = 0;
};
