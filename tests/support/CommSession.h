#pragma once

// A caller of the libraries as the transfer session is: one session block,
// initialised and online, and profiles in a settings folder of the test's own.

#include "contract/CommExports.h"
#include "commlib/core/ProfileStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace commtest {

// Points the libraries' settings at a fresh folder; call before any profile is touched.
void UseFreshSettingsFolder();

// Holding register `reference` of the simulator on this TCP port as another
// Modbus tool reads it (mbpoll); -1 when it could not.
int ReadRegister(int port, int reference);

// Stores profile number for the simulator on 127.0.0.1:port.
void SaveTcpProfile(int number, int port, int timeoutMs = 1000, int parallel = commlib::kDefaultParallel);

struct CommSession {
    std::array<std::uint8_t, comm::kSessionBlockSize> block{};

    std::uint8_t* Block() { return block.data(); }
    // 41, 153 and 8.
    int GoOnline();
    std::string ErrorText(int code);
    std::uint32_t Wait() const;

    std::vector<std::uint8_t> Read91(std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                                     std::uint16_t bank, std::uint32_t count, int wordsPerAddress, int& result);
};

// count addresses of the same device, consecutive from start.
std::vector<comm::_dev2_7> Descriptors(std::uint32_t device, std::uint32_t start, std::uint32_t count,
                                       int bytesPerAddress);

// A recognisable pattern of n bytes, different for each seed.
std::vector<std::uint8_t> Pattern(std::size_t n, std::uint32_t seed);

} // namespace commtest
