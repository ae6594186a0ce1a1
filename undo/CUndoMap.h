#pragma once

// The undo histories of the document's blocks, one per (device code, bank).
// The Undo and Redo commands act on the block the grid shows. The map owns
// its histories; clearing or destroying it deletes every snapshot file.

#include "undo/CUndoManagerDev.h"
#include "undo/CUndoMapKey.h"
#include "model/DeviceModel.h"
#include "model/PlcChoice.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

class IBlockStore;
class IShownBlock;

class CUndoMap {
public:
    CUndoMap() = default;
    ~CUndoMap();
    CUndoMap(const CUndoMap&) = delete;
    CUndoMap& operator=(const CUndoMap&) = delete;

    // Drops every history and starts one for each block of the current
    // selection: a selected device gets one keyed (code, 0); a selected banked
    // FL gets one per selected bank of its code instead. Each starts with a
    // snapshot of its block, so nothing can be undone right after.
    void ResetHistory(const PlcChoice& plc, const IBlockStore& doc)
    {
        ResetHistory(plc.m_aDeviceInfo, plc.m_aBankInfo, plc.m_FLBankNum, doc);
    }
    // The same from the lists themselves; flBankNum is the FL device's bank count.
    void ResetHistory(const DeviceInfoArray& devices, const BankInfoArray& banks, std::uint8_t flBankNum,
                      const IBlockStore& doc);

    // Snapshots the shown block after a change, starting its history if it
    // has none. False when nothing was recorded.
    bool RecordChange(const IBlockStore& doc, const IShownBlock& shown);

    // Restore the shown block's previous or next snapshot. True only when the
    // data was written back into the document.
    bool Undo(IBlockStore& doc, const IShownBlock& shown);
    bool Redo(IBlockStore& doc, const IShownBlock& shown);

    bool CanUndo(const IShownBlock& shown) const;
    bool CanRedo(const IShownBlock& shown) const;

    // Drops every history with all its snapshot files.
    void Clear();

    // The history of one block, or null.
    const CUndoManagerDev* Find(const CUndoMapKey& key) const;
    std::size_t GetCount() const { return m_mapUndo.size(); }

private:
    static CUndoMapKey ShownKey(const IShownBlock& shown);
    CUndoManagerDev* FindManager(const CUndoMapKey& key);
    CUndoManagerDev& Start(const CUndoMapKey& key);

    std::unordered_map<CUndoMapKey, std::unique_ptr<CUndoManagerDev>, CUndoMapKeyHash> m_mapUndo;
};
