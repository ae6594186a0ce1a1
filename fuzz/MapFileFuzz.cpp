// The register map file parser over any text, then look-ups in what it read.
#include "FuzzSupport.h"

#include "commlib/core/MapFile.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const std::unique_ptr<commlib::MapFile> map = commlib::MapFile::Read(in, "fuzz.map", error);
    if (!map) {
        if (error.empty())
            __builtin_trap(); // a refused map always says why
        return 0;
    }
    for (const commlib::MapLine& line : map->Lines()) {
        int words = 0;
        (void)map->WordsPerAddress(line.device, words);
        std::vector<commlib::RegisterRun> runs;
        (void)map->Locate(line.device, line.bank, line.first, line.last - line.first + 1, runs);
        for (const commlib::RegisterRun& run : runs) {
            if (std::uint32_t{run.first} + run.words > 0x10000)
                __builtin_trap(); // a run past the last register
        }
        (void)map->Locate(line.device, line.bank, line.last, 0xFFFFFFFFu, runs);
    }
    return 0;
}
