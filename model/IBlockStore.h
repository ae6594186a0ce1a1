#pragma once

#include "model/DeviceModel.h"

#include <cstdint>

// The document's blocks as the grid, undo and the file code see them: found
// by (device code, bank), changed only through WriteBlockBytes.
class IBlockStore {
public:
    virtual ~IBlockStore() = default;

    // The first block with this device code and bank, or null.
    virtual const CEditData* FindBlock(std::uint8_t deviceCode, std::int16_t bank) const = 0;

    // Copies count bytes into the first block with this code and bank, starting
    // at offset, cut at the block's end; sets the modified flag when anything
    // was written. A missing block, a negative offset or one at or past the end
    // writes nothing.
    virtual void WriteBlockBytes(std::int32_t offset, const std::uint8_t* bytes, std::int32_t count,
                                 std::uint8_t deviceCode, std::int16_t bank) = 0;
};
