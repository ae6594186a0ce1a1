#pragma once

// Fixed-width integers in byte buffers, with the byte order spelled out at
// every call: the data files are little-endian except for one big-endian
// field, and the program must not depend on the machine's own order.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace coding {

inline void PutU16LE(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU16BE(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

inline void PutU32LE(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutU64LE(std::uint8_t* p, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint16_t GetU16LE(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint16_t GetU16BE(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t GetU32LE(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::int32_t GetI32LE(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(GetU32LE(p)); // two's complement, defined since C++20
}

inline std::uint64_t GetU64LE(const std::uint8_t* p)
{
    return static_cast<std::uint64_t>(GetU32LE(p)) | (static_cast<std::uint64_t>(GetU32LE(p + 4)) << 32);
}

// Appending to a growing buffer.
inline void AppendU8(std::vector<std::uint8_t>& out, std::uint8_t v)
{
    out.push_back(v);
}

inline void AppendU16LE(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    const std::size_t at = out.size();
    out.resize(at + 2);
    PutU16LE(out.data() + at, v);
}

inline void AppendU32LE(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    const std::size_t at = out.size();
    out.resize(at + 4);
    PutU32LE(out.data() + at, v);
}

inline void AppendU64LE(std::vector<std::uint8_t>& out, std::uint64_t v)
{
    const std::size_t at = out.size();
    out.resize(at + 8);
    PutU64LE(out.data() + at, v);
}

inline void AppendFill(std::vector<std::uint8_t>& out, std::size_t count, std::uint8_t byte)
{
    out.insert(out.end(), count, byte);
}

// An unsigned number of up to 8 bytes, low byte first (bytes past the eighth are not read).
inline std::uint64_t GetUnsignedLE(const std::uint8_t* p, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = count < 8 ? count : 8; i-- > 0;)
        value = (value << 8) | p[i];
    return value;
}

// out becomes count bytes: value low byte first, zeros past the eighth byte.
inline void AssignUnsignedLE(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t count)
{
    out.assign(count, 0);
    for (std::size_t i = 0; i < count && i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Whether [offset, offset + size) lies inside a buffer of `length` bytes,
// without overflowing on hostile offsets and sizes.
inline bool Fits(std::uint64_t offset, std::uint64_t size, std::uint64_t length)
{
    return offset <= length && size <= length - offset;
}

} // namespace coding
