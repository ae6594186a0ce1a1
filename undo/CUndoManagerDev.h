#pragma once

// The undo history of one block: its snapshots, oldest first, and the
// position of the one that equals the block's present contents.

#include "undo/CUndoData.h"

#include <cstdint>
#include <deque>
#include <memory>

class IBlockStore;

class CUndoManagerDev {
public:
    // At most this many snapshots, so at most one fewer steps can be undone.
    static constexpr int kMaxSnapshots = 31;

    CUndoManagerDev(std::uint8_t deviceCode, std::int16_t bank);
    CUndoManagerDev(const CUndoManagerDev&) = delete;
    CUndoManagerDev& operator=(const CUndoManagerDev&) = delete;

    // Records the block's present contents as the newest snapshot and makes it
    // current. Snapshots after the current one are dropped first, then the
    // oldest when the history is full; that much happens even when the
    // snapshot itself fails (no such block, no temporary file, a failed write),
    // which records nothing and returns false.
    bool TakeSnapshot(const IBlockStore& doc);

    // Move one step toward the oldest (Undo) or newest (Redo) snapshot and
    // write it back over the whole block. True only when the data was written
    // back. When the snapshot's file cannot be read the position has still
    // moved and the block keeps its contents.
    bool Undo(IBlockStore& doc);
    bool Redo(IBlockStore& doc);

    bool CanUndo() const { return m_nCurrent > 0; }
    bool CanRedo() const { return m_nCurrent >= 0 && m_nCurrent + 1 < GetCount(); }

    // Drops every snapshot and deletes its file.
    void Clear();

    int GetCount() const { return static_cast<int>(m_lstUndo.size()); }
    // Index of the current snapshot, oldest 0; -1 when there is none.
    const CUndoData& GetSnapshot(int index) const { return *m_lstUndo.at(static_cast<std::size_t>(index)); }

private:
    bool RestoreCurrent(IBlockStore& doc) const;

    std::uint8_t m_byDeviceCode;
    std::int16_t m_nBank;
    std::deque<std::unique_ptr<CUndoData>> m_lstUndo;
    int m_nCurrent = -1;
};
