// The legacy ".ldt" reader over any bytes: header, then blocks.
#include "FuzzSupport.h"

#include "files/DataFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = fuzzsupport::ScratchPath("in.ldt");
    fuzzsupport::WriteScratch(path, data, size);
    platform::DenyWriteFile kept;
    LdtReader reader(kept, path);
    LdtHeader header;
    if (reader.ReadHeader(header) != FileError::None)
        return 0;
    EditDataArray blocks;
    if (reader.ReadBlocks(blocks) != FileError::None && !blocks.empty())
        __builtin_trap();
    return 0;
}
