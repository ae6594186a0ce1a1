#pragma once

// The line settings the scan tries, in order, and how the quick scan and the
// progress dialog step through them for an options word.

#include "contract/AutoSetBlock.h"

#include <cstdint>

namespace portavo {

struct Combination {
    std::int16_t baud; // baud-rate code
    std::int16_t dataLength;
    std::int16_t parity; // 0 none, 1 odd, 2 even
};

inline constexpr int kCombinationCount = 9;
inline constexpr Combination kCombinations[kCombinationCount] = {
    {3, 8, 1}, {4, 8, 1}, {7, 8, 1}, {3, 8, 2}, {4, 8, 2}, {7, 8, 2}, {3, 8, 0}, {4, 8, 0}, {7, 8, 0},
};

inline constexpr std::uint8_t kProbeRequest[8] = {0x7E, 0x01, 0x00, 0x03, 0x12, 0x00, 0x01, 0x6F};

inline bool TriesBauds(std::uint16_t options)
{
    return (options & comm::autoset::kOptionBaud) != 0;
}
inline bool TriesParities(std::uint16_t options)
{
    return (options & comm::autoset::kOptionParity) != 0;
}

// The position after a failed one in the quick scan: by 1 while the baud
// rates are tried, else by 3; without the parities the scan ends at 3.
inline int NextQuickPosition(int position, std::uint16_t options)
{
    position += TriesBauds(options) ? 1 : 3;
    if (!TriesParities(options) && position == 3)
        position = kCombinationCount;
    return position;
}

// The progress dialog steps the same way.
inline int NextDialogPosition(int position, std::uint16_t options)
{
    return NextQuickPosition(position, options);
}

// How many positions the dialog can try: its progress range.
inline int DialogRange(std::uint16_t options)
{
    return (TriesBauds(options) ? 3 : 1) * (TriesParities(options) ? 3 : 1);
}

} // namespace portavo
