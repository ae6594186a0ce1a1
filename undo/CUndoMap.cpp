#include "undo/CUndoMap.h"

#include "model/IBlockStore.h"
#include "undo/IShownBlock.h"

CUndoMap::~CUndoMap()
{
    Clear();
}

void CUndoMap::Clear()
{
    m_mapUndo.clear();
}

CUndoMapKey CUndoMap::ShownKey(const IShownBlock& shown)
{
    return {shown.GetSelectedDeviceCode(), static_cast<std::int16_t>(shown.GetSelectedBank())};
}

const CUndoManagerDev* CUndoMap::Find(const CUndoMapKey& key) const
{
    const auto it = m_mapUndo.find(key);
    return it != m_mapUndo.end() ? it->second.get() : nullptr;
}

CUndoManagerDev* CUndoMap::FindManager(const CUndoMapKey& key)
{
    const auto it = m_mapUndo.find(key);
    return it != m_mapUndo.end() ? it->second.get() : nullptr;
}

// A new, empty history under key. One already there is replaced and its
// snapshot files deleted.
CUndoManagerDev& CUndoMap::Start(const CUndoMapKey& key)
{
    auto& slot = m_mapUndo[key];
    slot = std::make_unique<CUndoManagerDev>(key.DeviceCode, key.BankNo);
    return *slot;
}

void CUndoMap::ResetHistory(const DeviceInfoArray& devices, const BankInfoArray& banks, std::uint8_t flBankNum,
                            const IBlockStore& doc)
{
    Clear();
    for (const stDeviceInfo& device : devices) {
        if (device.Selected == 0)
            continue;
        // Banked as the application decides it: FL with a bank count above 0.
        if (device.Id == DeviceCode::FL && flBankNum > 0) {
            for (const _SBankInfo& bank : banks) {
                if (bank.Id == device.Id && bank.Selected != 0)
                    Start({device.Id, bank.BankNo}).TakeSnapshot(doc);
            }
        } else {
            Start({device.Id, 0}).TakeSnapshot(doc);
        }
    }
}

bool CUndoMap::RecordChange(const IBlockStore& doc, const IShownBlock& shown)
{
    const CUndoMapKey key = ShownKey(shown);
    CUndoManagerDev* manager = FindManager(key);
    if (!manager)
        manager = &Start(key);
    return manager->TakeSnapshot(doc);
}

bool CUndoMap::Undo(IBlockStore& doc, const IShownBlock& shown)
{
    CUndoManagerDev* manager = FindManager(ShownKey(shown));
    return manager && manager->Undo(doc);
}

bool CUndoMap::Redo(IBlockStore& doc, const IShownBlock& shown)
{
    CUndoManagerDev* manager = FindManager(ShownKey(shown));
    return manager && manager->Redo(doc);
}

bool CUndoMap::CanUndo(const IShownBlock& shown) const
{
    const CUndoManagerDev* manager = Find(ShownKey(shown));
    return manager && manager->CanUndo();
}

bool CUndoMap::CanRedo(const IShownBlock& shown) const
{
    const CUndoManagerDev* manager = Find(ShownKey(shown));
    return manager && manager->CanRedo();
}
