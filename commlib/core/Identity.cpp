#include "commlib/core/Identity.h"

#include "commlib/core/RegisterMap.h"

#include <algorithm>

namespace commlib {

std::vector<std::uint16_t> EncodeIdentity(const Identity& identity)
{
    std::vector<std::uint16_t> words(kIdentityWords, 0);
    words[0] = kIdentitySignature;
    words[1] = kIdentityVersion;
    words[2] = identity.family;
    words[3] = identity.model;
    const int count = std::min<int>(static_cast<int>(identity.devices.size()), kMaxDevices);
    words[4] = static_cast<std::uint16_t>(count);
    for (int i = 0; i < count; ++i) {
        const DeviceEntry& d = identity.devices[i];
        std::uint16_t* entry = &words[kIdentityHeaderWords + i * kDeviceEntryWords];
        entry[0] = static_cast<std::uint16_t>(d.code);
        entry[1] = d.wordsPerAddress;
        entry[2] = d.banks;
        entry[3] = static_cast<std::uint16_t>(d.addresses >> 16);
        entry[4] = static_cast<std::uint16_t>(d.addresses & 0xFFFF);
    }
    return words;
}

std::optional<Identity> DecodeIdentity(const std::uint16_t* words, int count)
{
    if (count < kIdentityWords || words[0] != kIdentitySignature || words[1] != kIdentityVersion)
        return std::nullopt;
    Identity identity;
    identity.family = static_cast<std::uint8_t>(words[2] & 0xFF);
    identity.model = words[3];
    const int devices = std::min<int>(words[4], kMaxDevices);
    for (int i = 0; i < devices; ++i) {
        const std::uint16_t* entry = &words[kIdentityHeaderWords + i * kDeviceEntryWords];
        DeviceEntry d;
        d.code = entry[0];
        d.wordsPerAddress = entry[1];
        d.banks = entry[2];
        d.addresses = (std::uint32_t{entry[3]} << 16) | entry[4];
        identity.devices.push_back(d);
    }
    return identity;
}

std::string IdentityProblem(const Identity& identity)
{
    if (identity.family > 1)
        return "protocol family " + std::to_string(identity.family);
    for (const DeviceEntry& d : identity.devices) {
        const char* name = ProtocolDeviceName(d.code);
        const std::string device = *name ? std::string(name) : "device code " + std::to_string(d.code);
        if (d.wordsPerAddress < 1 || d.wordsPerAddress > kMaxWordsPerAddress)
            return device + ": " + std::to_string(d.wordsPerAddress) + " words per address";
    }
    return {};
}

} // namespace commlib
