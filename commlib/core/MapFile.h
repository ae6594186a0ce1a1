#pragma once

// A register map read from a text file, for a unit with its own register
// layout. One line per stretch of addresses:
//
//   DEVICE  BANK  FIRST  LAST  REGISTER  [WORDS]
//
// DEVICE is WR, WL, DT, LD, FL, TS, TE, CS or CE; BANK is a bank number or
// "-" for none; FIRST..LAST the addresses (inclusive); REGISTER the holding
// register of FIRST; WORDS the words per address (default 1). '#' starts a
// comment; blank lines are ignored. Stretches of one device and bank must not
// overlap, and every register must lie in 0..65535.

#include "commlib/core/RegisterMap.h"

#include <istream>
#include <memory>
#include <string>

namespace commlib {

struct MapLine {
    std::uint32_t device = 0;
    std::uint16_t bank = kNoBank;
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint16_t reg = 0;
    int words = 1;
};

class MapFile : public RegisterMap {
public:
    // Reads a map; on failure error names the file, the line and the fault.
    static std::unique_ptr<MapFile> Read(std::istream& in, const std::string& name, std::string& error);
    static std::unique_ptr<MapFile> Load(const std::string& path, std::string& error);

    CommResult WordsPerAddress(std::uint32_t device, int& words) const override;
    CommResult Locate(std::uint32_t device, std::uint16_t bank, std::uint32_t start, std::uint32_t count,
                      std::vector<RegisterRun>& runs) const override;

    const std::vector<MapLine>& Lines() const { return m_lines; }

private:
    std::vector<MapLine> m_lines;
};

} // namespace commlib
