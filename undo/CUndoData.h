#pragma once

// One undo snapshot: a whole block kept in a temporary file of its own.
//
// The file holds one record, little-endian and packed:
//   code 1, bank 2, StartAddr 4, EndAddr 4, DataSize 4, n 4, then n data bytes.
// The snapshot owns its file: destroying the snapshot deletes the file.

#include "model/DeviceModel.h"

#include <cstddef>
#include <string>

class CUndoData {
public:
    static constexpr std::size_t kHeaderSize = 19;

    // Creates an empty, uniquely named "QZ4" file in the user's temporary
    // folder. The path stays empty when no file could be made.
    CUndoData();
    ~CUndoData();
    CUndoData(const CUndoData&) = delete;
    CUndoData& operator=(const CUndoData&) = delete;

    const std::string& GetPath() const { return m_strPath; }

    // Writes the block's record to the file, other writers kept out meanwhile.
    // False when there is no file, or the record could not be written whole.
    bool Save(const CEditData& block);

    // Reads the record back into out (Id, BankNo, StartAddr, EndAddr,
    // DataSize, Data). False, with out untouched, when the file cannot be
    // opened or is not exactly one whole record: shorter than the header, or
    // a byte count that disagrees with the file's length.
    bool Load(CEditData& out) const;

private:
    std::string m_strPath;
};
