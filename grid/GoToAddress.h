#pragma once

// A device address as users write it: "DT1234", "DT 1234", "dt1234",
// "FL#2 100", "WR10", or a bare number for the block shown. The device name
// is the one the grid's labels show (or the built-in two-letter name), in any
// case; a file register names its bank with "#N" (bank 0 when it has none).

#include "grid/DevicePrefix.h"
#include "model/DeviceModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct GoToTarget {
    std::uint8_t deviceCode = 0;
    std::int16_t bank = 0;
    std::int64_t address = 0;
};

enum class GoToError {
    None,
    NotAnAddress,  // the text is no address
    UnknownDevice, // no device of that name
    NoBlock,       // the document holds no block of the device (and bank)
    OutOfRange,    // the block does not hold the address; `block` says which does
};

struct GoToResult {
    GoToError error = GoToError::None;
    GoToTarget target;
    const CEditData* block = nullptr; // the block of the device and bank, when there is one
};

// Reads text against the document's blocks; shown is the block a bare number
// refers to (null: none).
GoToResult ParseGoToAddress(std::string_view text, std::span<const stDispDevString> names, const EditDataArray& blocks,
                            const CEditData* shown);
