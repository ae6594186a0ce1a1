#include "commlib/core/AutoSetPort.h"

#include "commlib/core/CommErrors.h"
#include "commlib/core/ModbusLink.h"
#include "commlib/core/ProfileStore.h"
#include "commlib/core/Identity.h"

#include "contract/AutoSetBlock.h"
#include "contract/CommContract.h"
#include "platform/PortLock.h"

#include <array>
#include <cstring>
#include <map>
#include <memory>

namespace commlib::autoset {
namespace {

using namespace comm::autoset;

struct Port {
    std::array<std::uint8_t, comm::UserIF::kPortSettingsOffset + comm::UserIF::kPortSettingsSize> record{};
    std::unique_ptr<ModbusLink> link;
    std::array<std::uint8_t, kSettingsSize> linkSettings{}; // what the link was opened with
    std::string profileLine; // the profile's line when the record was last filled from it
};

std::string LineOf(const Profile& p)
{
    return DescribeProfile(p);
}

std::map<std::uint16_t, std::unique_ptr<Port>>& Ports()
{
    static std::map<std::uint16_t, std::unique_ptr<Port>> ports;
    return ports;
}

Port& PortOf(std::uint16_t port)
{
    auto& slot = Ports()[port];
    if (!slot)
        slot = std::make_unique<Port>();
    return *slot;
}

std::uint8_t* Settings(Port& p)
{
    return p.record.data() + comm::UserIF::kPortSettingsOffset;
}

// The profile's line replaced by a settings record's; empty detail when the record fits.
CommResult WithSettings(const Profile& profile, const std::uint8_t* s, Profile& out)
{
    out = profile;
    const int baud = BaudOfCode(GetI16(s, Record::Baud));
    const int data = GetI16(s, Record::DataLength);
    const int parity = GetI16(s, Record::Parity);
    const int stop = GetI16(s, Record::StopBits);
    if (baud == 0 || (data != 7 && data != 8) || parity < 0 || parity > 2 || (stop != 1 && stop != 2))
        return CommResult::Fail(Err::BadArgument, "line settings: baud code " + std::to_string(GetI16(s, Record::Baud))
                                                      + ", data " + std::to_string(data) + ", parity "
                                                      + std::to_string(parity) + ", stop " + std::to_string(stop));
    out.baud = baud;
    out.dataBits = data;
    out.parity = "NOE"[parity];
    out.stopBits = stop;
    return {};
}

CommResult SerialProfile(std::uint16_t port, Profile& profile)
{
    const auto stored = ProfileStore::Load(port);
    if (!stored)
        return CommResult::Fail(Err::NoProfile, "connection number " + std::to_string(port));
    if (stored->kind != LinkKind::Rtu)
        return CommResult::Fail(Err::BadArgument, "connection " + std::to_string(port) + " is not a serial line");
    profile = *stored;
    return {};
}

CommResult Open(std::uint16_t port, Port& p, const std::uint8_t* settings)
{
    Profile profile, line;
    if (CommResult r = SerialProfile(port, profile); !r.Ok())
        return r;
    if (CommResult r = WithSettings(profile, settings, line); !r.Ok())
        return r;
    p.link.reset();
    if (CommResult r = ModbusLink::Open(line, p.link); !r.Ok())
        return r;
    std::memcpy(p.linkSettings.data(), settings, kSettingsSize);
    return {};
}

bool SameLine(const std::uint8_t* a, const std::uint8_t* b)
{
    for (std::size_t offset : {Record::Baud, Record::DataLength, Record::Parity, Record::StopBits})
        if (GetU16(a, offset) != GetU16(b, offset))
            return false;
    return true;
}

} // namespace

std::uint8_t* PortRecord(std::uint16_t port)
{
    const auto profile = ProfileStore::Load(port);
    if (!profile)
        return nullptr;
    Port& p = PortOf(port);
    std::uint8_t* s = Settings(p);
    // A port keeps the settings last applied to it, as a serial port does,
    // until its profile changes.
    if (p.profileLine != LineOf(*profile)) {
        p.profileLine = LineOf(*profile);
        std::memset(s, 0, kSettingsSize);
        const bool serial = profile->kind == LinkKind::Rtu;
        PutU16(s, Record::Kind, static_cast<std::uint16_t>(serial ? kKindSerial : kKindNetwork));
        PutU16(s, Record::ComIndex, port);
        PutU16(s, Record::Baud, static_cast<std::uint16_t>(CodeOfBaud(profile->baud)));
        PutU16(s, Record::DataLength, static_cast<std::uint16_t>(profile->dataBits));
        const int parity = profile->parity == 'O' ? 1 : profile->parity == 'E' ? 2 : 0;
        PutU16(s, Record::Parity, static_cast<std::uint16_t>(parity));
        PutU16(s, Record::StopBits, static_cast<std::uint16_t>(profile->stopBits));
        PutU16(s, Record::Options, serial ? kOptionBaud | kOptionParity | kOptionDataLength : 0);
    }
    return p.record.data();
}

CommResult ApplySettings(std::uint16_t port, const std::uint8_t* settings)
{
    Port& p = PortOf(port);
    if (CommResult r = Open(port, p, settings); !r.Ok())
        return r;
    std::memcpy(Settings(p), settings, kSettingsSize);
    return {};
}

CommResult Probe(std::uint16_t port, const std::uint8_t* settings, bool takeLock, std::uint8_t* response,
                 std::uint32_t* length)
{
    if (length)
        *length = 0;
    Profile profile;
    if (CommResult r = SerialProfile(port, profile); !r.Ok())
        return r;
    platform::PortLock lock(port);
    if (takeLock && !lock.TryAcquire(profile.timeoutMs))
        return CommResult::Fail(Err::ConnectFailed, "port " + std::to_string(port) + " is in use");
    // The auto-set holds the port's lock, not the device's: calls through
    // another profile on the same line wait for this probe only.
    platform::PortLock device(profile.serialDevice);
    if (!device.TryAcquire(profile.timeoutMs))
        return CommResult::Fail(Err::ConnectFailed, "port " + std::to_string(port) + " is in use");
    Port& p = PortOf(port);
    if (!p.link || p.link->Broken() || !SameLine(p.linkSettings.data(), settings)) {
        if (CommResult r = Open(port, p, settings); !r.Ok())
            return r;
    }
    std::uint16_t word = 0;
    CommResult r = p.link->Read(kIdentityBase, 1, &word);
    if (r.Ok() || (r.code > Err::ExceptionBase && !p.link->Broken())) {
        // Any well-formed answer proves the line settings.
        if (response && length) {
            response[0] = static_cast<std::uint8_t>(word & 0xFF);
            response[1] = static_cast<std::uint8_t>(word >> 8);
            *length = 2;
        }
        return {};
    }
    if (p.link->Broken())
        p.link.reset();
    return r;
}

void ClosePort(std::uint16_t port)
{
    auto it = Ports().find(port);
    if (it != Ports().end())
        it->second->link.reset();
}

} // namespace commlib::autoset
