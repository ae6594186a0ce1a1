#pragma once

// The text in front of the addresses of the grid's row labels and status texts:
// the device's name from the current model's device list, or its built-in
// two-letter name.

#include "model/DeviceModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One label prefix: a device code and the name the model gives it.
struct stDispDevString {
    std::uint8_t Id = 0;
    std::string Name;
};

// One entry per device of the list, in order.
std::vector<stDispDevString> DispDevStrings(const DeviceInfoArray& devices);

// The name of the first entry with this code when that name is not empty;
// otherwise the built-in two-letter name ("DT", "WR", ...), empty for a code
// without one.
std::string DevicePrefix(std::uint8_t code, std::span<const stDispDevString> names);

// A block's device as users write it: the prefix, with "#N" for a bank of
// the file register ("DT", "FL#2").
std::string BlockName(std::uint8_t code, std::int16_t bank, std::span<const stDispDevString> names);
