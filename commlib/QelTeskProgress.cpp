// QelTeskMsg_SetProgress and QelTeskMsg_Cancel: our own exports beside the
// ordinals, so that a caller can show how far a long transfer has got and
// stop it.

#include "contract/CommExports.h"
#include "commlib/core/Session.h"

#include <cstdint>

using namespace commlib;

QELTESK_API int QelTeskMsg_SetProgress(std::uint8_t* block, comm::ProgressFn callback, void* context)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!s)
        return 1001;
    s->progress = callback;
    s->progressContext = callback ? context : nullptr;
    return 0;
}

QELTESK_API int QelTeskMsg_SetRequestLog(std::uint8_t* block, comm::RequestLogFn callback, void* context)
{
    std::lock_guard lock(SessionLock());
    Session* s = FindSession(block);
    if (!s)
        return 1001;
    s->requestLog = callback;
    s->requestLogContext = callback ? context : nullptr;
    return 0;
}

// Without the session lock: the transfer to stop holds it.
QELTESK_API int QelTeskMsg_Cancel(std::uint8_t* block)
{
    const int result = CancelTransfer(block);
    return result < 0 ? 1001 : result;
}
