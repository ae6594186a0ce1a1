#pragma once

// CRC-16/MCRF4XX: polynomial 0x1021 processed bit-reflected (0x8408), initial
// value 0xFFFF, no final inversion. It guards the device data section of the
// ".ldtx" file, stored low byte first after the bytes it covers.

#include <cstddef>
#include <cstdint>

namespace crc16 {

inline constexpr std::uint16_t kInit = 0xFFFF;

// Continues a CRC over more bytes: Extend(Extend(kInit, a), b) == Value(a + b).
std::uint16_t Extend(std::uint16_t crc, const void* data, std::size_t size);

inline std::uint16_t Value(const void* data, std::size_t size)
{
    return Extend(kInit, data, size);
}

// The same CRC one bit at a time: the definition the fast version must match.
std::uint16_t ExtendBitwise(std::uint16_t crc, const void* data, std::size_t size);

} // namespace crc16
