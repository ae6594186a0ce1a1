#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The built-in two-letter name of a device code ("WR", "DT", ...); empty for an unknown code.
std::string_view DeviceTwoLetterName(std::uint8_t code);

// The code of a two-letter name, compared without regard to case.
std::optional<std::uint8_t> DeviceCodeFromTwoLetterName(std::string_view name);
