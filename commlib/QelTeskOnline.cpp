// QelTeskOnline: identifying the connected unit.

#include "commlib/core/AnsiText.h"
#include "contract/CommExports.h"
#include "commlib/core/Online.h"

#include "contract/CommContract.h"

#include <cstdint>
#include <cstring>

using namespace commlib;

// out28: bytes 0-1 model id (low byte first), byte 2 protocol family,
// byte 3 1 when the profile declared them. out48: the connection in words.
QELTESK_API int QelTeskOnline_5(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out28, std::uint8_t* out48,
                                const char* /*connectionName*/, const char* /*appName*/)
{
    std::lock_guard lock(SessionLock());
    // Identification always asks the unit: whatever answered before may have
    // been replaced since.
    if (Session* old = FindSession(block))
        old->DropLink();
    CommResult r;
    Session* s = ConnectedSession(block, connection, r);
    if (!r.Ok())
        return Finish(block, s, r);
    const Identity& id = *s->identity;
    block[comm::kBlockProtocolOffset] = id.family;
    if (out28) {
        std::memset(out28, 0, 28);
        out28[0] = static_cast<std::uint8_t>(id.model & 0xFF);
        out28[1] = static_cast<std::uint8_t>(id.model >> 8);
        out28[2] = id.family;
        out28[3] = id.declared ? 1 : 0;
    }
    if (out48) {
        std::memset(out48, 0, 48);
        CopyToBuffer(DescribeProfile(s->profile), reinterpret_cast<char*>(out48), 48);
    }
    return Finish(block, s, r);
}

// out28: byte 0 the model id (its low byte for ids above 255), byte 1 its
// high byte, byte 2 the protocol family.
QELTESK_API int QelTeskOnline_3(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out28)
{
    std::lock_guard lock(SessionLock());
    CommResult r;
    Session* s = ConnectedSession(block, connection, r);
    if (!r.Ok())
        return Finish(block, s, r);
    if (!out28)
        return Finish(block, s, CommResult::Fail(Err::BadArgument, "no output area"));
    std::memset(out28, 0, 28);
    out28[0] = static_cast<std::uint8_t>(s->identity->model & 0xFF);
    out28[1] = static_cast<std::uint8_t>(s->identity->model >> 8);
    out28[2] = s->identity->family;
    return Finish(block, s, r);
}
