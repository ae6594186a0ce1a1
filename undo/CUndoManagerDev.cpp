#include "undo/CUndoManagerDev.h"

#include "model/IBlockStore.h"

#include <utility>

CUndoManagerDev::CUndoManagerDev(std::uint8_t deviceCode, std::int16_t bank)
    : m_byDeviceCode(deviceCode)
    , m_nBank(bank)
{
}

bool CUndoManagerDev::TakeSnapshot(const IBlockStore& doc)
{
    // Snapshots past the current one can no longer be redone.
    if (m_nCurrent >= 0) {
        while (GetCount() > m_nCurrent + 1)
            m_lstUndo.pop_back();
    }
    if (GetCount() >= kMaxSnapshots) {
        m_lstUndo.pop_front();
        if (m_nCurrent >= 0)
            --m_nCurrent;
    }

    const CEditData* block = doc.FindBlock(m_byDeviceCode, m_nBank);
    if (!block)
        return false;
    auto snapshot = std::make_unique<CUndoData>();
    if (!snapshot->Save(*block)) {
        // No room for the state after this edit: an undo from here would jump
        // past it, so the block's history ends and undo is unavailable until
        // the next edit that can be recorded. The snapshot's destructor
        // removes whatever file it made.
        Clear();
        return false;
    }

    m_lstUndo.push_back(std::move(snapshot));
    m_nCurrent = GetCount() - 1;
    return true;
}

bool CUndoManagerDev::Undo(IBlockStore& doc)
{
    if (!CanUndo())
        return false;
    --m_nCurrent;
    return RestoreCurrent(doc);
}

bool CUndoManagerDev::Redo(IBlockStore& doc)
{
    if (!CanRedo())
        return false;
    ++m_nCurrent;
    return RestoreCurrent(doc);
}

bool CUndoManagerDev::RestoreCurrent(IBlockStore& doc) const
{
    CEditData record;
    if (!m_lstUndo[static_cast<std::size_t>(m_nCurrent)]->Load(record))
        return false;
    // The record always names this history's own block; one naming another is
    // damaged and must not overwrite someone else's block. A block that has
    // gone away takes nothing, which is a failure too.
    if (record.Id != m_byDeviceCode || record.BankNo != m_nBank || !doc.FindBlock(m_byDeviceCode, m_nBank))
        return false;
    doc.WriteBlockBytes(0, record.Data.data(), static_cast<std::int32_t>(record.Data.size()), record.Id, record.BankNo);
    return true;
}

void CUndoManagerDev::Clear()
{
    m_lstUndo.clear();
    m_nCurrent = -1;
}
