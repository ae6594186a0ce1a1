// The ".ldtx" reader over any bytes: header, then blocks.
#include "FuzzSupport.h"

#include "files/DataFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = fuzzsupport::ScratchPath("in.ldtx");
    fuzzsupport::WriteScratch(path, data, size);
    LdtxReader reader(path);
    LdtxHeader header;
    if (!reader.ReadHeader(header).ok())
        return 0;
    EditDataArray blocks;
    if (reader.ReadBlocks(blocks).ok()) {
        for (const CEditData& block : blocks) {
            const auto words = static_cast<std::int64_t>(block.EndAddr) - block.StartAddr + 1;
            if (static_cast<std::int64_t>(block.Data.size()) != words * block.DataSize * 2)
                __builtin_trap(); // a block that does not hold its addresses
        }
    } else if (!blocks.empty()) {
        __builtin_trap();
    }
    return 0;
}
