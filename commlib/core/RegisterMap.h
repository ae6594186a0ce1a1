#pragma once

// How (device, bank, address) becomes Modbus holding registers.

#include "commlib/core/CommResult.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace commlib {

// Bank argument meaning "no bank" (the 16-bit form of -1).
inline constexpr std::uint16_t kNoBank = 0xFFFF;

// A stretch of consecutive registers. When window is set, the registers are
// only valid after these three values were written to the window select.
struct RegisterRun {
    std::optional<std::array<std::uint16_t, 3>> window;
    std::uint16_t first = 0;
    std::uint32_t words = 0;
};

class RegisterMap {
public:
    virtual ~RegisterMap() = default;
    // Words per address of the device; fails with UnknownDevice.
    virtual CommResult WordsPerAddress(std::uint32_t device, int& words) const = 0;
    // The registers that hold count addresses from start, in address order.
    virtual CommResult Locate(std::uint32_t device, std::uint16_t bank, std::uint32_t start, std::uint32_t count,
                              std::vector<RegisterRun>& runs) const = 0;
};

// Device names of map files and messages ("DT"), and back; empty / nothing when unknown.
const char* ProtocolDeviceName(std::uint32_t device);
std::optional<std::uint32_t> ProtocolDeviceByName(const char* name);

} // namespace commlib
