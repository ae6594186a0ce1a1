#pragma once

// Two sets of blocks compared word by word: ours (a document's) against
// theirs (another file's, or the PLC's). Blocks are matched by device code and
// bank; within a matched pair only the addresses both hold are compared, and
// only when both store the same number of words per address. Every other word
// of either side is "not compared", never equal or different.
//
// The comparison keeps its own copy of their blocks, so it outlives the file
// or the read it came from; ours are looked at only while comparing, and a
// block of ours that changed is compared again with Recompare.

#include "model/DeviceModel.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace compare {

enum class CellMark {
    Same,
    Differs,
    NotCompared, // at least one of the cell's words is not held by both sides
};

// One block of ours, or one of theirs that matched none of ours.
struct BlockResult {
    std::uint8_t deviceCode = 0;
    std::int16_t bank = 0;
    bool ours = false;                 // we hold the block
    std::optional<std::size_t> theirs; // index of their block
    // The addresses both hold, in our block's word offsets; empty when
    // firstWord == endWord.
    std::int64_t firstWord = 0;
    std::int64_t endWord = 0;
    // Word offset of our block minus the same address's word offset in theirs.
    std::int64_t theirShift = 0;
    std::int64_t comparedWords = 0;
    std::int64_t notComparedWords = 0;        // of both sides
    std::vector<std::int64_t> differingWords; // our word offsets, ascending

    std::int64_t DifferingWords() const { return static_cast<std::int64_t>(differingWords.size()); }
};

class Comparison {
public:
    Comparison() = default;
    Comparison(const EditDataArray& ours, EditDataArray theirs, bool modelsDiffer = false);

    const std::vector<BlockResult>& Blocks() const { return m_blocks; }
    const EditDataArray& Theirs() const { return m_theirs; }
    bool ModelsDiffer() const { return m_modelsDiffer; }

    std::int64_t DifferingWords() const;
    int BlocksWithDifferences() const;
    bool Identical() const { return DifferingWords() == 0; }

    // The result of our block (device, bank); null when there is none.
    const BlockResult* Find(std::uint8_t deviceCode, std::int16_t bank) const;
    // Compares our block again after it changed (an edit, a paste, an undo).
    void Recompare(const CEditData& ours);

    // The mark of the cell of `words` words at our word offset `firstWord` of
    // our block (device, bank).
    CellMark MarkOf(std::uint8_t deviceCode, std::int16_t bank, std::int64_t firstWord, int words) const;
    // Their bytes of the same cell; empty when they do not hold all its words.
    std::span<const std::uint8_t> TheirBytes(std::uint8_t deviceCode, std::int16_t bank, std::int64_t firstWord,
                                             int words) const;

    // The first differing word strictly after (forward) or before the
    // position (block index in Blocks(), word offset), across blocks in the
    // order of Blocks(), without wrapping.
    struct Position {
        std::size_t block = 0;
        std::int64_t word = 0;
        bool operator==(const Position&) const = default;
    };
    std::optional<Position> NextDifference(Position from, bool forward) const;

private:
    BlockResult CompareBlock(const CEditData& ours) const;

    std::vector<BlockResult> m_blocks;
    EditDataArray m_theirs;
    bool m_modelsDiffer = false;
};

// Word offsets at which two equally long byte ranges of whole words differ,
// shifted by `base`, appended to out in ascending order.
void AppendDifferingWords(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::int64_t base,
                          std::vector<std::int64_t>& out);

} // namespace compare
