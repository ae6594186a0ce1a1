#pragma once

// The steps every call that talks to the unit starts with.

#include "commlib/core/CommErrors.h"
#include "commlib/core/Session.h"

namespace commlib {

// The session of this block, online and connected to this profile; else
// null with the failure in result.
inline Session* ConnectedSession(std::uint8_t* block, int connection, CommResult& result)
{
    Session* s = FindSession(block);
    if (!s) {
        result = CommResult::Fail(Err::NotInitialised, {});
        return nullptr;
    }
    if (!s->online) {
        result = CommResult::Fail(Err::NotOnline, {});
        return s;
    }
    result = EnsureConnected(*s, connection);
    return s;
}

} // namespace commlib
