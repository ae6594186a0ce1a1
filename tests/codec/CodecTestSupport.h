#pragma once

#include "support/CodecPrinting.h"
#include "codec/ValueCodec.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace codectest {

// The low count bytes of value, little-endian, as a cell holds them.
inline std::vector<std::uint8_t> Bytes(std::uint64_t value, int count)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

inline std::uint64_t Bits(float value)
{
    return std::bit_cast<std::uint32_t>(value);
}
inline std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

// Text of a cell holding value, with as many bytes as the radix reads.
inline std::string Format(std::uint64_t value, codec::Radix radix, codec::Unit unit)
{
    const int count = radix == codec::RADIX_FLOAT ? 4 : radix == codec::RADIX_DOUBLE ? 8 : codec::GetCellBytes(unit);
    return codec::FormatCellValue(Bytes(value, count), radix, unit);
}

} // namespace codectest
