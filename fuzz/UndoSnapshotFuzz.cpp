// The undo snapshot reader over any bytes in its file.
#include "FuzzSupport.h"

#include "undo/CUndoData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CUndoData snapshot;
    if (snapshot.GetPath().empty())
        std::abort();
    fuzzsupport::WriteScratch(snapshot.GetPath(), data, size);
    CEditData block;
    block.Id = 0x7F;
    if (snapshot.Load(block)) {
        if (block.Data.size() + CUndoData::kHeaderSize != size)
            __builtin_trap();
    } else if (block.Id != 0x7F || !block.Data.empty()) {
        __builtin_trap(); // a failed load must leave the block alone
    }
    return 0;
}
