#pragma once

#include <optional>
#include <string>

// A whole decimal number, or "0x" followed by hexadecimal digits; nothing else.
std::optional<int> ParseIntArg(const std::string& text);

// A radix name (bin, oct, dec, hex, float, double) or its code 0 to 5.
std::optional<int> ParseRadixArg(const std::string& text);

// A unit in bits (8, 16, 32, 64), as its code 0 to 3.
std::optional<int> ParseUnitArg(const std::string& text);
