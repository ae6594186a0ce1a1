#pragma once

// The model the simulator plays: its devices as the protocol sees them, and
// blocks of memory as data files hold them.

#include <cstdint>
#include <string>
#include <vector>

struct SimDevice {
    std::uint8_t catalogueId = 0; // the catalogue's device code (21 for DT)
    std::uint32_t code = 0;       // the protocol device code (9 for DT)
    std::string name;
    std::uint16_t wordsPerAddress = 1;
    std::uint16_t banks = 0;     // 0: not banked
    std::uint32_t addresses = 0; // per bank when banked
};

struct SimModel {
    int id = 0;
    std::string name;
    std::vector<SimDevice> devices;
};

// One block of a data file: words low byte first.
struct SimBlock {
    std::uint8_t catalogueId = 0;
    std::uint16_t bank = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t wordsPerAddress = 1;
    std::vector<std::uint8_t> bytes;
};
