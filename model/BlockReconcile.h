#pragma once

// Which blocks a document keeps when the user changes the device ranges or
// the model: a pure function of the old blocks and the new lists.

#include "model/DeviceModel.h"
#include "model/PlcChoice.h"

#include <cstdint>

// A zero-filled block of a device (bank 0) or of a bank.
CEditData MakeBlankBlock(std::uint8_t deviceCode, std::int16_t bankNo, std::int32_t start, std::int32_t end,
                         std::int32_t dataSize);

struct ReconciledBlocks {
    EditDataArray blocks;
    // A block was added, dropped or carried to a new range: the list changed.
    bool changed = false;
    // The document's data are no longer what was saved.
    bool modified = false;
};

// One block per selected device (not banked) and per selected bank of plc, in
// list order. A block that existed before keeps the words its new range still
// holds: a device range follows a change of words per address
// (ConvertDeviceRange), a bank range is scaled (ScaleBankRange); words the new
// range adds are zero. An unselected entry drops its block.
ReconciledBlocks ReconcileBlockList(const EditDataArray& old, const PlcChoice& plc);
