#pragma once

#include "codec/CodecCodes.h"

#include <optional>
#include <string>

// A whole decimal number, or "0x" followed by hexadecimal digits; nothing else.
std::optional<int> ParseIntArg(const std::string& text);

// A radix name (bin, oct, dec, hex, float, double) or its code 0 to 5.
std::optional<codec::Radix> ParseRadixArg(const std::string& text);

// A unit in bits (8, 16, 32, 64).
std::optional<codec::Unit> ParseUnitArg(const std::string& text);
