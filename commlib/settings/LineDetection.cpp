#include "commlib/settings/LineDetection.h"

#include "commlib/core/AutoSetPort.h"
#include "commlib/core/CommErrors.h"
#include "commlib/core/ProfileStore.h"
#include "commlib/core/Session.h"

#include "contract/AutoSetBlock.h"
#include "contract/CommContract.h"
#include "platform/LibraryLoader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <dlfcn.h>
#include <optional>

namespace commlib {
namespace {

using namespace comm::autoset;
using AutoSetFn = int (*)(std::uint32_t reserved, std::uint8_t* block);

std::string LibraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DetectLineSettings), &info) == 0 || !info.dli_fname)
        return ".";
    std::string path = info.dli_fname;
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Puts the stored profile back as it was before the scan.
class StoredProfileGuard {
public:
    StoredProfileGuard(int number, const Profile& scanned)
        : m_number(number)
        , m_before(ProfileStore::Load(number))
        , m_existed(ProfileStore::Numbers().end()
                    != std::find(ProfileStore::Numbers().begin(), ProfileStore::Numbers().end(), number))
    {
        ProfileStore::Save(number, scanned);
    }
    ~StoredProfileGuard()
    {
        if (m_existed && m_before)
            ProfileStore::Save(m_number, *m_before);
        else
            ProfileStore::Remove(m_number);
    }

private:
    int m_number;
    std::optional<Profile> m_before;
    bool m_existed;
};

} // namespace

LineDetection DetectLineSettings(int connection, const Profile& profile)
{
    LineDetection result;
    result.profile = profile;
    if (profile.kind != LinkKind::Rtu) {
        result.message = "Line settings can be detected only for a serial line.";
        result.code = -10066;
        return result;
    }
    platform::Library library;
    const std::string path = LibraryFolder() + "/libQelPortavo" + platform::SharedLibrarySuffix();
    auto autoSet = library.Load(path) ? reinterpret_cast<AutoSetFn>(library.Symbol("PortavoAutoSet")) : nullptr;
    if (!autoSet) {
        result.message = "The auto-setting library cannot be loaded: " + library.Error();
        result.code = Err::NotAvailable;
        return result;
    }

    StoredProfileGuard stored(connection, profile);
    std::array<std::uint8_t, comm::kSessionBlockSize> block{};
    {
        std::lock_guard lock(SessionLock());
        Session& s = CreateSession(block.data());
        s.appName = "QelTeskCMSet";
        s.language = DefaultLanguage();
        const std::uint8_t* record = autoset::PortRecord(static_cast<std::uint16_t>(connection));
        if (record)
            std::memcpy(block.data() + kSettingsOffset, record + comm::UserIF::kPortSettingsOffset, kSettingsSize);
    }
    PutU16(block.data(), kPortOffset, static_cast<std::uint16_t>(connection));
    std::strncpy(reinterpret_cast<char*>(block.data() + comm::kBlockTitleOffset), profile.name.c_str(),
                 comm::kBlockTitleSize - 1);
    PutU16(block.data(), kLanguageOffset, 0xFFFF); // the system's language
    PutU16(block.data(), kVersionOffset, 0xFFFF);
    std::uint8_t* settings = block.data() + kSettingsOffset;
    PutU16(settings, Record::Options, kOptionBaud | kOptionParity | kOptionDataLength);

    const int code = autoSet(0, block.data());
    {
        std::lock_guard lock(SessionLock());
        DropSession(block.data());
    }
    if (code != 0) {
        result.code = code;
        result.message = code == -10053
                             ? "The unit did not answer with any of the line settings tried."
                             : "The line settings could not be detected (error " + std::to_string(code) + ").";
        return result;
    }
    const int baud = BaudOfCode(GetI16(settings, Record::Baud));
    const int parity = GetI16(settings, Record::Parity);
    const int data = GetI16(settings, Record::DataLength);
    if (baud == 0 || parity < 0 || parity > 2 || (data != 7 && data != 8)) {
        result.message = "The auto-setting library answered with line settings that cannot be used.";
        result.code = Err::BadArgument;
        return result;
    }
    result.profile.baud = baud;
    result.profile.parity = "NOE"[parity];
    result.profile.dataBits = data;
    result.found = true;
    result.message = "The unit answers at " + std::to_string(baud) + " bit/s, " + std::to_string(data)
                     + " data bits, parity "
                     + (parity == 0   ? "none"
                        : parity == 1 ? "odd"
                                      : "even")
                     + ".";
    return result;
}

} // namespace commlib
