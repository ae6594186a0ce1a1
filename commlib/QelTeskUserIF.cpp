// QelTeskUserIF: the session's life (initialise, online, offline, title,
// language) and the texts of error codes.

#include "commlib/core/AnsiText.h"
#include "commlib/core/CommErrors.h"
#include "comm/CommExports.h"
#include "commlib/core/Session.h"

#include "comm/CommContract.h"

#include <cstdint>

using namespace commlib;

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

// The entry points of the automatic connection scan. This version has no
// scan: each answers as "not available", in the way its caller expects.

QELTESK_API int QelTeskUserIF_256(std::uint8_t* /*scratch*/, char* path, int size)
{
    if (path && size > 0)
        path[0] = '\0';
    return 0; // nothing written
}

QELTESK_API std::uint16_t QelTeskUserIF_151(std::uint8_t* /*block*/)
{
    return static_cast<std::uint16_t>(Err::NotAvailable); // non-zero: nothing to do
}

QELTESK_API int QelTeskUserIF_1(std::uint32_t* out)
{
    if (out)
        *out = 0;
    return Err::NotAvailable;
}

QELTESK_API std::uint8_t* QelTeskUserIF_282(std::uint16_t /*port*/)
{
    return nullptr;
}

QELTESK_API int QelTeskUserIF_59(std::uint8_t* /*block*/)
{
    return Err::NotAvailable;
}

QELTESK_API int QelTeskUserIF_180(std::uint8_t* /*block*/, const std::uint8_t* /*request*/, int /*size*/,
                                     std::uint8_t* /*response*/, std::uint32_t* out)
{
    if (out)
        *out = 0;
    return Err::NotAvailable;
}

QELTESK_API int QelTeskUserIF_138(std::uint16_t /*port*/, const std::uint8_t* /*settings*/)
{
    return Err::NotAvailable;
}

QELTESK_API int QelTeskUserIF_15(std::uint8_t* /*block*/, int /*zero*/, std::uint8_t* /*scratch*/)
{
    return Err::NotAvailable;
}

QELTESK_API int QelTeskUserIF_61(std::uint8_t* /*block*/)
{
    return Err::NotAvailable;
}
