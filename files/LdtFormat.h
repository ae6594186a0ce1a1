#pragma once

// Layout of the legacy ".ldt" data file, all fields little-endian:
//
//   header (80 bytes) | area record (10 bytes) | area table | area words
//
// The area table has one entry per device of the layout's fixed device list.
// Each present area holds a block's words; an absent one holds a single zero
// placeholder word; one more zero word closes the file. Three layouts exist,
// named by their format code: 16 (16-bit table fields), 32 (32-bit fields)
// and 2048 (for models with file-register banks, nine entries).
//
// The word indices in the table count words from a fixed origin; they and the
// trailer values are written as below and not examined when reading.

#include "model/DeviceModel.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace ldt {

inline constexpr std::uint16_t kFormat16 = 16;
inline constexpr std::uint16_t kFormat32 = 32;
inline constexpr std::uint16_t kFormat2048 = 2048;

inline constexpr std::uint32_t kMagic = 0x0054444C; // "LDT\0"

// Header.
inline constexpr std::size_t kHeaderSize = 80;
inline constexpr std::size_t kMagicOffset = 0;        // 4 bytes
inline constexpr std::size_t kModelOffset = 4;        // 2 bytes, model id minus 1
inline constexpr std::size_t kFormatOffset = 6;       // 2 bytes
inline constexpr std::size_t kRecordOffsetOffset = 8; // 4 bytes
inline constexpr std::size_t kText1Offset = 12;
inline constexpr std::size_t kText1Size = 41;
inline constexpr std::size_t kText2Offset = 53;
inline constexpr std::size_t kText2Size = 11;
// 16 reserved bytes at 64.

// Area record, right after the header.
inline constexpr std::size_t kRecordOffset = kHeaderSize;
inline constexpr std::size_t kRecordSize = 10;
inline constexpr std::size_t kRecordFormatOffset = 0;      // 2 bytes
inline constexpr std::size_t kRecordTableOffsetOffset = 2; // 4 bytes
inline constexpr std::size_t kRecordTotalOffset = 6;       // 4 bytes: table and area words, closing word excluded

// Area table, right after the area record.
inline constexpr std::size_t kTableOffset = kRecordOffset + kRecordSize;

// One device of the layout's list.
struct LegacyDevice {
    std::uint8_t id;
    std::int16_t bankNo;
};

// Layouts 16 and 32 use the first seven entries, layout 2048 all nine.
inline constexpr std::array<LegacyDevice, 9> kDevices{{
    {DeviceCode::WR, 0},
    {DeviceCode::DT, 0},
    {DeviceCode::FL, 0},
    {DeviceCode::TS, 0},
    {DeviceCode::TE, 0},
    {DeviceCode::LD, 0},
    {DeviceCode::WL, 0},
    {DeviceCode::FL, 1},
    {DeviceCode::FL, 2},
}};
inline constexpr std::size_t kFlatEntries = 7;
inline constexpr std::size_t kBankedEntries = 9;

// Word index of the first area.
inline constexpr std::uint32_t kFlatOrigin = 40;
inline constexpr std::uint32_t kBankedOrigin = 71;

// Trailer values.
inline constexpr std::uint32_t kTrailerOne = 1;
inline constexpr std::uint16_t kTrailerSixtyNine = 69;
inline constexpr std::uint16_t kBankedTrailerLast = 84;
inline constexpr std::uint16_t kFlagsBase = 0x0154;
inline constexpr int kAbsentFlagFirstBit = 9; // bit 9 + entry marks an absent area (layouts 16 and 32)

// Layout 16: entries of five 2-byte fields.
inline constexpr std::size_t kTable16Size = 80;
inline constexpr std::size_t kEntry16Size = 10;
inline constexpr std::size_t kTrailer16Offset = 70; // 1, next index, next index, 69, flags: 2 bytes each

// Layout 32: entries of five 4-byte fields.
inline constexpr std::size_t kTable32Size = 156;
inline constexpr std::size_t kEntry32Size = 20;
inline constexpr std::size_t kTrailer32Offset = 140; // 1, next, next: 4 bytes each; 69, flags: 2 bytes each

// Layout 2048: an entry count, then entries of count (2), first index (4),
// last index (4), first address (2), last address (2).
inline constexpr std::size_t kTable2048Size = 142;
inline constexpr std::size_t kEntry2048Size = 14;
inline constexpr std::size_t kEntries2048Offset = 2;
inline constexpr std::size_t kTrailer2048Offset = 128; // 1 (2), next (4), next (4), 69 (2), 84 (2)
inline constexpr std::uint16_t kAbsentAddress2048 = 0xFFFF;

inline constexpr bool IsKnownFormat(std::uint16_t format)
{
    return format == kFormat16 || format == kFormat32 || format == kFormat2048;
}

inline constexpr std::size_t TableSize(std::uint16_t format)
{
    return format == kFormat16 ? kTable16Size : format == kFormat32 ? kTable32Size : kTable2048Size;
}

inline constexpr std::size_t EntryCount(std::uint16_t format)
{
    return format == kFormat2048 ? kBankedEntries : kFlatEntries;
}

} // namespace ldt
