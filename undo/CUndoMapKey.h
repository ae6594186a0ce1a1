#pragma once

// The key of one block's undo history: the block's device code and bank.

#include <cstddef>
#include <cstdint>

struct CUndoMapKey {
    std::uint8_t DeviceCode = 0;
    std::int16_t BankNo = 0;

    // code × 65536 + bank: distinct for every (code, bank) pair, negative banks included.
    std::int32_t ToInt() const { return static_cast<std::int32_t>(DeviceCode) * 65536 + BankNo; }

    friend bool operator==(const CUndoMapKey&, const CUndoMapKey&) = default;
};

struct CUndoMapKeyHash {
    std::size_t operator()(const CUndoMapKey& key) const noexcept { return static_cast<std::size_t>(key.ToInt()); }
};
