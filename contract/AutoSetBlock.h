#pragma once

// The fields of the session block and of the 200-byte settings record that
// the automatic line-settings scan and the communication libraries share.
// All values are little-endian 16-bit unless noted.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace comm::autoset {

inline constexpr std::size_t kPortOffset = 82;      // u16 port number (the connection number)
inline constexpr std::size_t kFlagsOffset = 90;     // u16 flag word
inline constexpr std::size_t kLanguageOffset = 94;  // i16 language index 0..9, -1 none
inline constexpr std::size_t kVersionOffset = 96;   // i16 resource version, -1 none
inline constexpr std::size_t kSettingsOffset = 102; // the 200-byte settings record
inline constexpr std::size_t kSettingsSize = 200;

// Flag word bits.
inline constexpr std::uint16_t kFlagAutoSet = 0x0008;   // for the whole auto-set
inline constexpr std::uint16_t kFlagQuickScan = 0x1000; // during the quick scan
inline constexpr std::uint16_t kFlagClosing = 0x0018;   // around the closing call of a failed auto-set

// Offsets inside the settings record.
namespace Record {
inline constexpr std::size_t Kind = 0;     // i16: 1 serial line; 6 and 7 are network kinds
inline constexpr std::size_t ComIndex = 2; // u16
inline constexpr std::size_t Baud = 8;     // i16 baud-rate code
inline constexpr std::size_t DataLength = 10;
inline constexpr std::size_t Parity = 12; // 0 none, 1 odd, 2 even
inline constexpr std::size_t StopBits = 14;
inline constexpr std::size_t Options = 132; // u16: bit 3 baud rates, bit 1 parities, bit 0 data length
} // namespace Record

inline constexpr std::int16_t kKindSerial = 1;
inline constexpr std::int16_t kKindNetwork = 6;
inline constexpr std::int16_t kKindNetwork2 = 7;

inline constexpr std::uint16_t kOptionBaud = 0x0008;
inline constexpr std::uint16_t kOptionParity = 0x0002;
inline constexpr std::uint16_t kOptionDataLength = 0x0001;

// Baud-rate codes: 3 = 9600, 4 = 19200, 7 = 115200; the codes between name
// the rates between. 0 for a rate without a code.
inline constexpr int kBaudByCode[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
inline int BaudOfCode(int code)
{
    return code >= 0 && code < 8 ? kBaudByCode[code] : 0;
}
inline int CodeOfBaud(int baud)
{
    for (int code = 0; code < 8; ++code)
        if (kBaudByCode[code] == baud)
            return code;
    return -1;
}

inline std::uint16_t GetU16(const std::uint8_t* p, std::size_t offset)
{
    return static_cast<std::uint16_t>(p[offset] | (p[offset + 1] << 8));
}
inline std::int16_t GetI16(const std::uint8_t* p, std::size_t offset)
{
    return static_cast<std::int16_t>(GetU16(p, offset));
}
inline void PutU16(std::uint8_t* p, std::size_t offset, std::uint16_t value)
{
    p[offset] = static_cast<std::uint8_t>(value & 0xFF);
    p[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace comm::autoset
