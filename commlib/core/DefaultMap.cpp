#include "commlib/core/DefaultMap.h"

#include "commlib/core/CommErrors.h"

#include <algorithm>
#include <string>

namespace commlib {

namespace {
struct NamedDevice {
    const char* name;
    std::uint32_t code;
};
constexpr NamedDevice kDeviceNames[] = {{"WR", 31}, {"WL", 30}, {"DT", 9},  {"LD", 6}, {"FL", 10},
                                        {"TS", 4},  {"TE", 5},  {"CS", 43}, {"CE", 44}};
} // namespace

const char* ProtocolDeviceName(std::uint32_t device)
{
    for (const NamedDevice& d : kDeviceNames)
        if (d.code == device)
            return d.name;
    return "";
}

std::optional<std::uint32_t> ProtocolDeviceByName(const char* name)
{
    for (const NamedDevice& d : kDeviceNames)
        if (std::string(d.name) == name)
            return d.code;
    return std::nullopt;
}

DefaultMap::DefaultMap(std::vector<DeviceEntry> devices)
    : m_devices(std::move(devices))
{
}

const DeviceEntry* DefaultMap::Find(std::uint32_t device) const
{
    for (const DeviceEntry& d : m_devices)
        if (d.code == device)
            return &d;
    return nullptr;
}

CommResult DefaultMap::WordsPerAddress(std::uint32_t device, int& words) const
{
    if (m_devices.empty()) {
        if (*ProtocolDeviceName(device) == '\0')
            return CommResult::Fail(Err::UnknownDevice, "device code " + std::to_string(device));
        words = 1;
        return {};
    }
    const DeviceEntry* entry = Find(device);
    if (!entry)
        return CommResult::Fail(Err::UnknownDevice, "the unit has no device with code " + std::to_string(device));
    words = entry->wordsPerAddress;
    return {};
}

CommResult DefaultMap::Locate(std::uint32_t device, std::uint16_t bank, std::uint32_t start, std::uint32_t count,
                              std::vector<RegisterRun>& runs) const
{
    runs.clear();
    int wordsPerAddress = 0;
    if (CommResult r = WordsPerAddress(device, wordsPerAddress); !r.Ok())
        return r;
    const std::string what = std::string(ProtocolDeviceName(device)) + " " + std::to_string(start) + ".."
                             + std::to_string(std::uint64_t{start} + count - 1);
    if (count == 0)
        return CommResult::Fail(Err::BadArgument, "no addresses to transfer");

    std::uint16_t planeBank = bank;
    if (const DeviceEntry* entry = Find(device)) {
        if (entry->banks == 0) {
            if (bank != kNoBank && bank != 0)
                return CommResult::Fail(Err::OutOfRange, what + ": the device has no banks");
            planeBank = 0;
        } else if (bank >= entry->banks) {
            return CommResult::Fail(Err::OutOfRange,
                                    what + ": bank " + std::to_string(bank) + " of " + std::to_string(entry->banks));
        }
        if (std::uint64_t{start} + count > entry->addresses)
            return CommResult::Fail(Err::OutOfRange,
                                    what + ": the device has " + std::to_string(entry->addresses) + " addresses");
    } else if (bank == kNoBank) {
        planeBank = 0;
    }

    std::uint64_t word = std::uint64_t{start} * wordsPerAddress;
    std::uint64_t left = std::uint64_t{count} * wordsPerAddress;
    if (word + left > std::uint64_t{kWindowWords} * 0x10000)
        return CommResult::Fail(Err::OutOfRange, what + ": beyond the register map");
    while (left > 0) {
        const std::uint64_t segment = word / kWindowWords;
        const std::uint32_t offset = static_cast<std::uint32_t>(word % kWindowWords);
        const std::uint32_t words = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kWindowWords - offset));
        RegisterRun run;
        run.window = std::array<std::uint16_t, 3>{static_cast<std::uint16_t>(device), planeBank,
                                                  static_cast<std::uint16_t>(segment)};
        run.first = static_cast<std::uint16_t>(kWindowBase + offset);
        run.words = words;
        runs.push_back(run);
        word += words;
        left -= words;
    }
    return {};
}

} // namespace commlib
