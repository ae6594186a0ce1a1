#pragma once

// The default register map: one window of 32,768 holding registers at 0
// shows a 32,768-word segment of one device (and bank); three registers at
// 0xFFF0 select device, bank and segment; the identity registers sit at
// 0xFF00. Every address of every device is reachable with 16-bit register
// addresses whatever the device's size.

#include "commlib/core/Identity.h"
#include "commlib/core/RegisterMap.h"

namespace commlib {

inline constexpr std::uint16_t kWindowBase = 0x0000;
inline constexpr std::uint32_t kWindowWords = 0x8000;
inline constexpr std::uint16_t kWindowSelect = 0xFFF0; // device, bank, segment
inline constexpr int kWindowSelectWords = 3;

class DefaultMap : public RegisterMap {
public:
    // Without a device table every device is taken as one word per address
    // and the unit itself decides which addresses exist.
    explicit DefaultMap(std::vector<DeviceEntry> devices);

    CommResult WordsPerAddress(std::uint32_t device, int& words) const override;
    CommResult Locate(std::uint32_t device, std::uint16_t bank, std::uint32_t start, std::uint32_t count,
                      std::vector<RegisterRun>& runs) const override;

private:
    const DeviceEntry* Find(std::uint32_t device) const;
    std::vector<DeviceEntry> m_devices;
};

} // namespace commlib
