#pragma once

// An outside caller of QelPortavo: a session block of its own, profiles in a
// settings folder of the test's own, port locks in a runtime folder of its
// own, and simulators on pseudo-terminals of their own.

#include "support/SimulatorProcess.h"

#include "contract/AutoSetBlock.h"
#include "contract/CommContract.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

extern "C" int PortavoAutoSet(std::uint32_t reserved, std::uint8_t* block);

namespace autosettest {

struct Line {
    int baudCode; // 3 9600, 4 19200, 7 115200
    int parity;   // 0 none, 1 odd, 2 even
};

// The nine combinations in the order the scan tries them.
inline constexpr Line kCombinations[9] = {{3, 1}, {4, 1}, {7, 1}, {3, 2}, {4, 2}, {7, 2}, {3, 0}, {4, 0}, {7, 0}};

// A simulator on its own pseudo-terminal at a baud rate and parity, data length 8.
class SerialUnit {
public:
    SerialUnit(int baud, char parity);
    bool Started() const { return m_sim->Started() && !m_device.empty(); }
    const std::string& Device() const { return m_device; }
    std::string Log() const { return m_sim->Log(); }
    int Pid() const { return m_sim->Pid(); }

private:
    std::unique_ptr<commtest::SimulatorProcess> m_sim;
    std::string m_device;
};

int RateOfCode(int code);
char ParityLetter(int code);

// Fresh settings and runtime folders for this process (and its children).
void UseFreshFolders();

// Stores a serial profile (connection number = port number) for the device
// at 9600 baud, no parity, 8 data bits.
void SaveSerialProfile(int port, const std::string& device, int timeoutMs = 100);

struct Caller {
    std::array<std::uint8_t, comm::kSessionBlockSize> block{};

    // 41, then the block's port, title, language 0, version -1 and the port's
    // settings record with the given options word.
    explicit Caller(int port, std::uint16_t options);
    std::uint8_t* Block() { return block.data(); }
    std::uint8_t* Settings() { return block.data() + comm::autoset::kSettingsOffset; }
    std::uint16_t Get(std::size_t recordOffset) const
    {
        return comm::autoset::GetU16(block.data() + comm::autoset::kSettingsOffset, recordOffset);
    }
    void Set(std::size_t recordOffset, std::uint16_t value) { comm::autoset::PutU16(Settings(), recordOffset, value); }
    std::uint16_t Flags() const { return comm::autoset::GetU16(block.data(), comm::autoset::kFlagsOffset); }
    int AutoSet() { return PortavoAutoSet(0, Block()); }
};

// The settings record of the port's per-port record (ordinal 282).
std::array<std::uint8_t, 200> PortSettings(int port);

} // namespace autosettest
