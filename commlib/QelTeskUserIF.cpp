// QelTeskUserIF: the session's life (initialise, online, offline, title,
// language) and the texts of error codes.

#include "commlib/core/AnsiText.h"
#include "commlib/core/CommErrors.h"
#include "contract/CommExports.h"
#include "commlib/core/Session.h"

#include "commlib/core/AutoSetPort.h"
#include "commlib/core/ProfileStore.h"

#include "contract/AutoSetBlock.h"
#include "contract/CommContract.h"

#include <cstdint>
#include <cstring>
#include <dlfcn.h>

using namespace commlib;

namespace {

// The request the auto-setting library hands to 180; the libraries answer
// it with an identity read of the unit.
constexpr std::uint8_t kProbeRequest[8] = {0x7E, 0x01, 0x00, 0x03, 0x12, 0x00, 0x01, 0x6F};
constexpr std::uint32_t kAutoSetVersion = 0x00010000;

} // namespace

QELTESK_API int QelTeskUserIF_41(std::uint8_t* block, const char* appName)
{
    std::lock_guard lock(SessionLock());
    if (!block || !appName)
        return Err::BadArgument;
    Session& s = CreateSession(block);
    s.appName = FromBuffer(appName, comm::kAppNameSize);
    s.language = DefaultLanguage();
    return Finish(block, &s, {});
}

QELTESK_API int QelTeskUserIF_153(std::uint8_t* block, int language)
{
    std::lock_guard lock(SessionLock());
    if (!IsKnownLanguage(language))
        return Err::UnknownLanguage;
    DefaultLanguage() = language;
    if (Session* s = FindSession(block))
        s->language = language;
    return 0;
}

QELTESK_API int QelTeskUserIF_8(void* /*mainWindow*/, std::uint8_t* block)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!s)
        return Err::NotInitialised;
    // The connection number arrives with the first call that talks to the
    // unit; the link opens then.
    s->online = true;
    return Finish(block, s, {});
}

QELTESK_API int QelTeskUserIF_14(std::uint8_t* block)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!s)
        return Err::NotInitialised;
    s->DropLink();
    s->online = false;
    return 0;
}

QELTESK_API int QelTeskUserIF_150(std::uint8_t* block, const char* title)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!s)
        return Err::NotInitialised;
    s->title = FromBuffer(title, comm::kBlockTitleSize - 1);
    return 0;
}

QELTESK_API int QelTeskUserIF_188(std::uint8_t* block, int code, char* buffer)
{
    std::lock_guard lock(SessionLock());
    if (!buffer)
        return Err::BadArgument;
    const Session* s = FindSession(block);
    std::string text = ErrorMessage(code, s ? s->language : DefaultLanguage());
    if (s && s->lastCode == code && !s->lastDetail.empty())
        text += "\n" + s->lastDetail;
    CopyToBuffer(text, buffer, comm::kErrorTextSize);
    return 0;
}

// The entry points of the automatic line-settings scan. The port number is
// the connection number; the port is the serial line of that profile.

QELTESK_API int QelTeskUserIF_256(std::uint8_t* /*scratch*/, char* path, int size)
{
    // The resource folder is the folder of the libraries themselves.
    if (!path || size <= 0)
        return 0;
    path[0] = '\0';
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&QelTeskUserIF_256), &info) == 0 || !info.dli_fname)
        return 0;
    std::string folder = info.dli_fname;
    const auto slash = folder.rfind('/');
    folder = slash == std::string::npos ? "." : folder.substr(0, slash);
    if (folder.size() + 1 > static_cast<std::size_t>(size))
        return 0; // does not fit: nothing written
    CopyToBuffer(folder, path, static_cast<std::size_t>(size));
    return 1;
}

QELTESK_API std::uint16_t QelTeskUserIF_151(std::uint8_t* block)
{
    // A session that is online keeps its line: nothing to do. A block without
    // a session may go on; 59 then tells the caller what is missing.
    std::lock_guard lock(SessionLock());
    const Session* s = FindSession(block);
    return s && s->online ? 1 : 0;
}

QELTESK_API int QelTeskUserIF_1(std::uint32_t* out)
{
    if (!out)
        return Err::BadArgument;
    *out = kAutoSetVersion;
    return 0;
}

QELTESK_API std::uint8_t* QelTeskUserIF_282(std::uint16_t port)
{
    std::lock_guard lock(SessionLock());
    return autoset::PortRecord(port);
}

QELTESK_API int QelTeskUserIF_59(std::uint8_t* block)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!s)
        return Err::NotInitialised;
    const std::uint16_t port = comm::autoset::GetU16(block, comm::autoset::kPortOffset);
    if (!ProfileStore::Load(port))
        return Finish(block, s, CommResult::Fail(Err::NoProfile, "connection number " + std::to_string(port)));
    return 0;
}

QELTESK_API int QelTeskUserIF_180(std::uint8_t* block, const std::uint8_t* request, int size, std::uint8_t* response,
                                  std::uint32_t* out)
{
    std::lock_guard lock(SessionLock());
    if (out)
        *out = 0;
    Session* s = FindSession(block);
    if (!s)
        return Err::NotInitialised;
    if (!request || size != static_cast<int>(sizeof kProbeRequest)
        || std::memcmp(request, kProbeRequest, sizeof kProbeRequest) != 0)
        return Finish(block, s, CommResult::Fail(Err::BadArgument, "not the line-settings probe"));
    using namespace comm::autoset;
    const std::uint16_t port = GetU16(block, kPortOffset);
    // Inside an auto-set the scan holds the port lock already.
    const bool takeLock = (GetU16(block, kFlagsOffset) & kFlagAutoSet) == 0;
    CommResult r = autoset::Probe(port, block + kSettingsOffset, takeLock, response, out);
    // The probe must not touch the wait at offset 106: it lies inside the
    // settings record.
    s->lastCode = r.code;
    s->lastDetail = r.detail;
    return r.code;
}

QELTESK_API int QelTeskUserIF_138(std::uint16_t port, const std::uint8_t* settings)
{
    std::lock_guard lock(SessionLock());
    if (!settings)
        return Err::BadArgument;
    return autoset::ApplySettings(port, settings).code;
}

QELTESK_API int QelTeskUserIF_15(std::uint8_t* block, int /*zero*/, std::uint8_t* /*scratch*/)
{
    std::lock_guard lock(SessionLock());
    if (!block)
        return Err::BadArgument;
    autoset::ClosePort(comm::autoset::GetU16(block, comm::autoset::kPortOffset));
    return 0;
}

QELTESK_API int QelTeskUserIF_61(std::uint8_t* block)
{
    std::lock_guard lock(SessionLock());
    if (!block)
        return Err::BadArgument;
    autoset::ClosePort(comm::autoset::GetU16(block, comm::autoset::kPortOffset));
    return 0;
}
