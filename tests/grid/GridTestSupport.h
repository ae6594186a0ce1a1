#pragma once

#include "support/CodecPrinting.h"
#include "model/DeviceModel.h"

#include <cstdint>
#include <vector>

namespace gridtest {

// A DT block holding the words, low byte first.
inline CEditData Block(const std::vector<std::uint16_t>& words, std::int32_t start = 0, std::int32_t dataSize = 1)
{
    CEditData block;
    block.Id = DeviceCode::DT;
    block.StartAddr = start;
    block.DataSize = dataSize;
    block.EndAddr = start + static_cast<std::int32_t>(words.size()) / (dataSize > 0 ? dataSize : 1) - 1;
    for (const std::uint16_t word : words) {
        block.Data.push_back(static_cast<std::uint8_t>(word));
        block.Data.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return block;
}

// Words 1, 2, ..., count.
inline std::vector<std::uint16_t> Counting(int count, std::uint16_t first = 1)
{
    std::vector<std::uint16_t> words;
    for (int i = 0; i < count; ++i)
        words.push_back(static_cast<std::uint16_t>(first + i));
    return words;
}

inline std::vector<std::uint16_t> Words(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint16_t> words;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        words.push_back(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8));
    return words;
}

} // namespace gridtest
