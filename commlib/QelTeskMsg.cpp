// QelTeskMsg: protocol family 0, consecutive ranges; the connection in words.

#include "commlib/core/AnsiText.h"
#include "contract/CommExports.h"
#include "commlib/core/Online.h"
#include "commlib/core/ProfileStore.h"
#include "commlib/core/Transfer.h"

#include "contract/CommContract.h"

#include <cstdint>

using namespace commlib;

static int Transfer(std::uint8_t* block, std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                    std::uint16_t bank, std::uint32_t count, std::uint8_t* buffer, bool write)
{
    std::lock_guard lock(SessionLock());
    CommResult r;
    Session* s = ConnectedSession(block, connection, r);
    if (r.Ok())
        r = TransferRange(*s, device, start, bank, count, buffer, write);
    return Finish(block, s, r);
}

QELTESK_API int QelTeskMsg_91(std::uint8_t* block, std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                              std::uint16_t bank, std::uint32_t count, std::uint8_t* buffer)
{
    return Transfer(block, connection, device, start, bank, count, buffer, false);
}

QELTESK_API int QelTeskMsg_92(std::uint8_t* block, std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                              std::uint16_t bank, std::uint32_t count, std::uint8_t* buffer)
{
    return Transfer(block, connection, device, start, bank, count, buffer, true);
}

QELTESK_API int QelTeskMsg_CheckWords(std::uint8_t* block, std::uint16_t connection, std::uint32_t device,
                                      std::uint32_t wordsPerAddress)
{
    std::lock_guard lock(SessionLock());
    CommResult r;
    Session* s = ConnectedSession(block, connection, r);
    if (r.Ok())
        r = CheckWordsPerAddress(*s, device, wordsPerAddress);
    return Finish(block, s, r);
}

// Works offline and without a session: it only reads the profile.
QELTESK_API int QelTeskMsg_37(std::uint8_t* block, std::uint16_t connection, const char* /*name*/, char* buffer)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!buffer)
        return Finish(block, s, CommResult::Fail(Err::BadArgument, "no buffer"));
    const auto profile = ProfileStore::Load(connection);
    if (!profile) {
        CopyToBuffer({}, buffer, comm::kErrorTextSize);
        return Finish(block, s, CommResult::Fail(Err::NoProfile, "connection number " + std::to_string(connection)));
    }
    std::string text = DescribeProfile(*profile);
    if (!profile->name.empty())
        text = profile->name + ": " + text;
    CopyToBuffer(text, buffer, comm::kErrorTextSize);
    return 0;
}
