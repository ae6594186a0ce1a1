#pragma once

// Finding a value or a text in the blocks: a cell value matches whole cells
// (positions that are multiples of the cell size), a text of the text column
// matches at any byte. A search goes forward or backward from a position,
// in one block or through every block in their order, and wraps around once.

#include "codec/CodecCodes.h"
#include "model/DeviceModel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct FindPattern {
    std::vector<std::uint8_t> bytes;
    std::size_t alignment = 1; // the cell size for a value, 1 for a text
};

// The pattern of a value as the cell editor takes it: none when the text is no
// value of the radix and unit.
std::optional<FindPattern> ValuePattern(std::string_view text, codec::Radix radix, codec::Unit unit);

struct FindPosition {
    std::size_t block = 0;  // index in the blocks
    std::size_t offset = 0; // byte offset in the block's data
    bool operator==(const FindPosition&) const = default;
};

struct FindResult {
    FindPosition at;
    bool wrapped = false; // the search went past the end (or start) and on from the other side
};

// The next match after `from` (forward) or before it (backward), itself not
// included; `from` with an offset past the data searches the whole block.
// allBlocks: on into the following (or preceding) blocks; otherwise only
// from.block. None when there is no match at all.
std::optional<FindResult> FindNext(const EditDataArray& blocks, const FindPattern& pattern, FindPosition from,
                                   bool forward, bool allBlocks);

// Every match of a block, in order.
std::vector<std::size_t> FindAllInBlock(const CEditData& block, const FindPattern& pattern);

// The matches of a Find All, by block, for the grid to mark.
struct FoundCells {
    struct Matches {
        std::uint8_t deviceCode = 0;
        std::int16_t bank = 0;
        std::vector<std::size_t> offsets; // ascending
    };
    std::vector<Matches> blocks;
    std::size_t length = 0; // bytes of one match

    std::size_t Count() const;
    // Whether a match overlaps the bytes [offset, offset + size) of the block.
    bool Overlaps(const CEditData& block, std::size_t offset, std::size_t size) const;
};

// Every match of every block (or of `only`, when given).
FoundCells FindAll(const EditDataArray& blocks, const FindPattern& pattern, const CEditData* only = nullptr);
