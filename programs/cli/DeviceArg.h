#pragma once

#include "model/DeviceModel.h"

#include <cstdint>
#include <optional>
#include <string>

// A device named on the command line: its catalogue name, its two-letter name
// or its code, with "#BANK" for a bank of the file register ("FL#2"), and
// optionally ":START-END" for a range.
struct DeviceArg {
    std::uint8_t code = 0;
    std::optional<std::int16_t> bank;
    std::optional<std::int32_t> start;
    std::optional<std::int32_t> end;
};

// Resolves the name against the model's devices; an error text when it does not fit.
std::optional<DeviceArg> ParseDeviceArg(const std::string& text, const DeviceInfoArray& devices, bool allowRange,
                                        std::string& error);
