#pragma once

// The words that monitoring found changed, each marked for a while after the
// cycle that changed it; the mark fades as it ages, so that a word changing
// every cycle stays bright and one that changed once fades away.

#include "model/DeviceModel.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>

class ChangeMarks {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kLife{2000};

    // Compares the words of block before and after at byteOffset; the words
    // that differ are marked from now.
    void Note(const CEditData& block, std::size_t byteOffset, std::span<const std::uint8_t> before,
              std::span<const std::uint8_t> after, Clock::time_point now);
    // 0 for no mark up to 1 for a word changed just now, for the most recent
    // change among bytes [offset, offset + size) of block.
    double Strength(const CEditData& block, std::size_t offset, std::size_t size, Clock::time_point now) const;
    // Whether a mark has not faded yet; drops the faded ones.
    bool Prune(Clock::time_point now);
    void Clear() { m_marks.clear(); }
    std::size_t Count() const { return m_marks.size(); }

private:
    // (device, bank, byte offset of the word) -> when it changed.
    std::map<std::pair<std::pair<std::uint8_t, std::int16_t>, std::size_t>, Clock::time_point> m_marks;
};
