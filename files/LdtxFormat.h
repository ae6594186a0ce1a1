#pragma once

// Layout of the ".ldtx" data file. All fields are little-endian except the
// format version, which is stored high byte first.
//
//   header (512 bytes) | section table (20 bytes per entry) | sections
//
// The device data section holds a block count N, N block offsets (8 bytes
// each, from the start of the section), the blocks, and a CRC-16 of
// everything before it in the last two bytes of the section.

#include <cstddef>
#include <cstdint>

namespace ldtx {

// Header.
inline constexpr std::size_t kHeaderSize = 512;
inline constexpr std::size_t kZeroOffset = 0;         // 4 bytes, always zero
inline constexpr std::size_t kMarkerOffset = 4;       // 2 bytes
inline constexpr std::size_t kVersionOffset = 6;      // 2 bytes, big-endian
inline constexpr std::size_t kSeriesOffset = 8;       // 2 bytes
inline constexpr std::size_t kModelOffset = 10;       // 2 bytes
inline constexpr std::size_t kTableOffsetOffset = 12; // 8 bytes
inline constexpr std::size_t kTableCountOffset = 20;  // 2 bytes
inline constexpr std::size_t kText1Offset = 22;       // 240 bytes of UTF-16, written as zero
inline constexpr std::size_t kText1Size = 240;
inline constexpr std::size_t kText2Offset = 262; // 80 bytes of UTF-16, written as zero
inline constexpr std::size_t kText2Size = 80;
inline constexpr std::size_t kFillerOffset = 342; // 170 bytes of 0xFF
inline constexpr std::size_t kFillerSize = 170;
inline constexpr std::uint8_t kFillerByte = 0xFF;

inline constexpr std::uint16_t kMarker = 0xFFFD;
inline constexpr std::uint16_t kVersion = 0x0100; // newest version this program reads and the one it writes

// Section table entry.
inline constexpr std::size_t kEntrySize = 20;
inline constexpr std::size_t kEntryTypeOffset = 0;      // 2 bytes
inline constexpr std::size_t kEntryAttributeOffset = 2; // 2 bytes
inline constexpr std::size_t kEntryOffsetOffset = 4;    // 8 bytes
inline constexpr std::size_t kEntryLengthOffset = 12;   // 8 bytes, the CRC included

inline constexpr std::uint16_t kDeviceDataSection = 501;
inline constexpr std::uint16_t kDeviceDataAttribute = 16;

// Device data section.
inline constexpr std::size_t kCountSize = 4;
inline constexpr std::size_t kBlockOffsetSize = 8;
inline constexpr std::size_t kCrcSize = 2;

// Block header, followed by the block's bytes.
inline constexpr std::size_t kBlockHeaderSize = 24;
inline constexpr std::size_t kBlockIdOffset = 0;       // 1 byte
inline constexpr std::size_t kBlockStartOffset = 1;    // 4 bytes, signed
inline constexpr std::size_t kBlockEndOffset = 5;      // 4 bytes, signed
inline constexpr std::size_t kBlockDataSizeOffset = 9; // 4 bytes, signed, words per address
inline constexpr std::size_t kBlockBankOffset = 13;    // 1 byte, low 8 bits of the bank
// 10 reserved bytes follow, written as zero.

// Detail codes shown after `IDS_FILE_DAMAGED` when a file is damaged.
inline constexpr int kDamagedCrc = 2;            // the section's CRC does not match
inline constexpr int kDamagedSectionPastEnd = 4; // a section reaches past the end of the file
inline constexpr int kDamagedBlockOffset = 5;    // the block count or a block offset lies outside the section
inline constexpr int kDamagedBlockData = 6;      // a block's header or bytes run past the end of the section
inline constexpr int kDamagedBlockSizes = 7;     // impossible range or words per address, or blocks sharing bytes
inline constexpr int kDamagedSectionsShared = 8; // device data sections that together exceed the file
inline constexpr int kDamagedTable = 254;        // the section table is shorter than its entry count says

} // namespace ldtx
