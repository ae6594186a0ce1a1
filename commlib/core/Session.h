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
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace commlib {

// Whether a transfer of a session block runs and whether it was asked to
// stop. Reached without the session lock (the transfer holds that), so that
// another thread can cancel. A cancel counts only while a transfer runs: one
// that comes between transfers is dropped, and each transfer starts clear.
class TransferControl {
public:
    void Begin();
    void End();
    // Whether a transfer was running to be stopped.
    bool Cancel();
    bool Cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::mutex m_lock;
    bool m_running = false;
    std::atomic<bool> m_cancelled{false};
};

// A further connection to the unit that transfers use beside the session's
// own. The unit keeps a window select per connection, so each lane has its own.
struct Lane {
    std::unique_ptr<ModbusLink> link;
    std::optional<std::array<std::uint16_t, 3>> window;
};

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
    // Opened as transfers need them and kept for the next; closed with the link.
    std::vector<Lane> lanes;
    // How many connections (its own included) the unit took when it turned
    // some away; 0 while it has turned none away.
    int acceptedConnections = 0;
    std::shared_ptr<TransferControl> control = std::make_shared<TransferControl>();

    int lastCode = 0;
    std::string lastDetail;

    // A serial line's port lock and its device's, held from EnsureConnected to Finish of one call.
    std::unique_ptr<platform::PortLock> portLock;
    std::unique_ptr<platform::PortLock> deviceLock;
    // Called after each request of a transfer (QelTeskMsg_SetProgress).
    comm::ProgressFn progress = nullptr;
    void* progressContext = nullptr;
    // Where the library's notes about this session go (its log); none: nowhere.
    std::function<void(const std::string&)> note;
    // Told of each request of this session's links (QelTeskMsg_SetRequestLog).
    comm::RequestLogFn requestLog = nullptr;
    void* requestLogContext = nullptr;
    // What a link of this session reports to requestLog; lane 0 is the session's own.
    std::function<void(comm::RequestRecord&)> RequestReporter(std::uint16_t lane);

    void DropLink();
};

// The lock every entry point takes.
std::mutex& SessionLock();

// The session of this block, or null when 41 has not succeeded for it.
Session* FindSession(const std::uint8_t* block);
Session& CreateSession(const std::uint8_t* block);
// Forgets the session of a block that goes away.
void DropSession(const std::uint8_t* block);

// Stops the transfer that runs on this block in another thread; callable
// without the session lock. -1 without a session, 0 when a transfer was
// running, 1 when none was (and nothing is kept for the next one).
int CancelTransfer(const std::uint8_t* block);

// The language for texts of calls without a session block (last set by any session).
int& DefaultLanguage();

// Records a failure (or success) of a call: keeps the detail for 188 and
// sets the wait at block offset 106 (0 unless the unit asked for a pause).
int Finish(std::uint8_t* block, Session* session, const CommResult& result);

// Opens the link for this connection number when there is none or it belongs
// to another profile, reads the unit's identity and builds the register map.
CommResult EnsureConnected(Session& session, int connection);

} // namespace commlib
