#pragma once

// The identity registers of the default register map: a signature, the
// protocol family, the model id and the unit's device table. The simulator
// writes them, the libraries read them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace commlib {

inline constexpr std::uint16_t kIdentityBase = 0xFF00;
inline constexpr std::uint16_t kIdentitySignature = 0x4D58; // "MX"
inline constexpr std::uint16_t kIdentityVersion = 1;
inline constexpr int kIdentityHeaderWords = 16; // 0xFF00..0xFF0F
inline constexpr int kDeviceEntryWords = 5;     // code, words per address, banks, addresses high, low
inline constexpr int kMaxDevices = 9;
inline constexpr int kIdentityWords = kIdentityHeaderWords + kMaxDevices * kDeviceEntryWords; // 61
// The most words one address of any device holds (a 64-bit value).
inline constexpr int kMaxWordsPerAddress = 4;

// One device as the unit describes it. banks 0: not banked.
struct DeviceEntry {
    std::uint32_t code = 0; // protocol device code
    std::uint16_t wordsPerAddress = 1;
    std::uint16_t banks = 0;
    std::uint32_t addresses = 0; // per bank when banked
};

struct Identity {
    std::uint8_t family = 0;
    std::uint16_t model = 0;
    std::vector<DeviceEntry> devices; // empty: the device table is unknown
    bool declared = false;            // taken from the profile, not from the unit
};

// The kIdentityWords registers for this identity.
std::vector<std::uint16_t> EncodeIdentity(const Identity& identity);

// Nothing when the signature or version do not match (a unit without identity registers).
std::optional<Identity> DecodeIdentity(const std::uint16_t* words, int count);

// What makes a decoded identity unusable, empty when nothing does. Callers size
// their buffers by the words per address, so a value outside 1 to
// kMaxWordsPerAddress must never reach a transfer.
std::string IdentityProblem(const Identity& identity);

} // namespace commlib
