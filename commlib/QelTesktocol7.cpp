// QelTesktocol7: protocol family 1, one descriptor per address.

#include "contract/CommExports.h"
#include "commlib/core/Online.h"
#include "commlib/core/Transfer.h"

#include "contract/CommContract.h"

#include <cstdint>
#include <cstring>

using namespace commlib;

// out48: word 0 the protocol family, word at 2 the type's high part (model id
// >> 8), word at 4 its low part (model id & 0xFF); words low byte first.
QELTESK_API int QelTesktocol7_1(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out48, int /*zero*/)
{
    std::lock_guard lock(SessionLock());
    CommResult r;
    Session* s = ConnectedSession(block, connection, r);
    if (!r.Ok())
        return Finish(block, s, r);
    if (!out48)
        return Finish(block, s, CommResult::Fail(Err::BadArgument, "no output area"));
    std::memset(out48, 0, 48);
    const std::uint16_t model = s->identity->model;
    out48[0] = s->identity->family;
    out48[2] = static_cast<std::uint8_t>(model >> 8);
    out48[4] = static_cast<std::uint8_t>(model & 0xFF);
    return Finish(block, s, r);
}

static int Transfer(std::uint8_t* block, std::uint16_t connection, int count, const comm::_dev2_7* descriptors,
                    std::uint8_t* buffer, bool write)
{
    std::lock_guard lock(SessionLock());
    CommResult r;
    Session* s = ConnectedSession(block, connection, r);
    if (r.Ok())
        r = TransferByAddress(*s, count, descriptors, buffer, write);
    return Finish(block, s, r);
}

QELTESK_API int QelTesktocol7_7(std::uint8_t* block, std::uint16_t connection, int /*one*/, int count,
                                const comm::_dev2_7* descriptors, std::uint8_t* buffer)
{
    return Transfer(block, connection, count, descriptors, buffer, false);
}

QELTESK_API int QelTesktocol7_8(std::uint8_t* block, std::uint16_t connection, int /*one*/, int count,
                                const comm::_dev2_7* descriptors, std::uint8_t* buffer)
{
    return Transfer(block, connection, count, descriptors, buffer, true);
}
