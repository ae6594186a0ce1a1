#pragma once

// What the libraries keep for one caller's session block between calls: the
// state of 41/8/14, the open connection with its register map and the unit's
// identity, and the last failure for 188. Sessions are found by the block's
// address; every entry point holds the one lock while it runs.

#include "contract/CommContract.h"
#include "commlib/core/CommResult.h"
#include "commlib/core/Identity.h"
#include "commlib/core/ModbusLink.h"
#include "commlib/core/Profile.h"
#include "commlib/core/RegisterMap.h"

#include "platform/PortLock.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace commlib {

struct Session {
    std::string appName;
    std::string title;
    int language = 0;
    bool online = false;

    int connection = -1; // the profile the link below belongs to
    Profile profile;
    std::unique_ptr<ModbusLink> link;
    std::unique_ptr<RegisterMap> map;
    std::optional<Identity> identity;
    std::optional<std::array<std::uint16_t, 3>> window; // last window select written on this link

    int lastCode = 0;
    std::string lastDetail;

    // A serial line's port lock and its device's, held from EnsureConnected to Finish of one call.
    std::unique_ptr<platform::PortLock> portLock;
    std::unique_ptr<platform::PortLock> deviceLock;
    // Called after each request of a transfer (QelTeskMsg_SetProgress).
    comm::ProgressFn progress = nullptr;
    void* progressContext = nullptr;

    void DropLink();
};

// The lock every entry point takes.
std::mutex& SessionLock();

// The session of this block, or null when 41 has not succeeded for it.
Session* FindSession(const std::uint8_t* block);
Session& CreateSession(const std::uint8_t* block);
// Forgets the session of a block that goes away.
void DropSession(const std::uint8_t* block);

// The language for texts of calls without a session block (last set by any session).
int& DefaultLanguage();

// Records a failure (or success) of a call: keeps the detail for 188 and
// sets the wait at block offset 106 (0 unless the unit asked for a pause).
int Finish(std::uint8_t* block, Session* session, const CommResult& result);

// Opens the link for this connection number when there is none or it belongs
// to another profile, reads the unit's identity and builds the register map.
CommResult EnsureConnected(Session& session, int connection);

} // namespace commlib
