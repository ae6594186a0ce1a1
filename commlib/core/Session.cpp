#include "commlib/core/Session.h"

#include "commlib/core/CommErrors.h"
#include "commlib/core/DefaultMap.h"
#include "commlib/core/MapFile.h"
#include "commlib/core/ProfileStore.h"

#include "contract/CommContract.h"

#include <QLoggingCategory>

#include <chrono>
#include <cstring>
#include <map>

Q_LOGGING_CATEGORY(CommLog, "memorix.comm")

namespace commlib {
namespace {

std::map<const std::uint8_t*, std::unique_ptr<Session>>& Sessions()
{
    static std::map<const std::uint8_t*, std::unique_ptr<Session>> sessions;
    return sessions;
}

// The sessions' transfer controls by block, under a lock of their own: a
// cancel must not wait for the session lock the transfer holds.
struct Controls {
    std::mutex lock;
    std::map<const std::uint8_t*, std::shared_ptr<TransferControl>> byBlock;
};

Controls& TransferControls()
{
    static Controls controls;
    return controls;
}

// How long the caller should wait after a failure before trying again.
std::uint32_t WaitAfter(const CommResult& result)
{
    if (result.code == Err::ExceptionBase + 6 || result.code == Err::ExceptionBase + 5)
        return 500; // the unit is busy or still working on an earlier request
    return 0;
}

CommResult ReadIdentity(Session& s)
{
    std::uint16_t words[kIdentityWords] = {};
    CommResult r = s.link->Read(kIdentityBase, kIdentityWords, words);
    if (r.Ok()) {
        if (auto identity = DecodeIdentity(words, kIdentityWords)) {
            if (std::string problem = IdentityProblem(*identity); !problem.empty())
                return CommResult::Fail(Err::BadIdentity, problem);
            s.identity = *identity;
            return {};
        }
    } else if (r.code != Err::ExceptionBase + 2 || s.link->Broken()) {
        // Only "no such registers" means a unit without identity; anything
        // else is a failure of the unit or the line.
        return r;
    }
    if (s.profile.family < 0)
        return CommResult::Fail(Err::NoIdentity, DescribeProfile(s.profile));
    Identity declared;
    declared.family = static_cast<std::uint8_t>(s.profile.family);
    declared.model = static_cast<std::uint16_t>(s.profile.model);
    declared.declared = true;
    s.identity = declared;
    return {};
}

} // namespace

void Session::DropLink()
{
    lanes.clear();
    acceptedConnections = 0;
    link.reset();
    map.reset();
    identity.reset();
    window.reset();
    connection = -1;
}

std::mutex& SessionLock()
{
    static std::mutex lock;
    return lock;
}

Session* FindSession(const std::uint8_t* block)
{
    if (!block)
        return nullptr;
    auto it = Sessions().find(block);
    return it == Sessions().end() ? nullptr : it->second.get();
}

Session& CreateSession(const std::uint8_t* block)
{
    // A block initialised again starts over, whatever it held before.
    auto& slot = Sessions()[block];
    slot = std::make_unique<Session>();
    slot->note = [](const std::string& text) { qCInfo(CommLog, "%s", text.c_str()); };
    Controls& controls = TransferControls();
    std::lock_guard lock(controls.lock);
    controls.byBlock[block] = slot->control;
    return *slot;
}

void DropSession(const std::uint8_t* block)
{
    {
        Controls& controls = TransferControls();
        std::lock_guard lock(controls.lock);
        controls.byBlock.erase(block);
    }
    Sessions().erase(block);
}

int CancelTransfer(const std::uint8_t* block)
{
    Controls& controls = TransferControls();
    std::lock_guard lock(controls.lock);
    const auto it = controls.byBlock.find(block);
    if (it == controls.byBlock.end())
        return -1;
    return it->second->Cancel() ? 0 : 1;
}

int& DefaultLanguage()
{
    static int language = 0;
    return language;
}

int Finish(std::uint8_t* block, Session* session, const CommResult& result)
{
    if (block) {
        const std::uint32_t wait = WaitAfter(result);
        std::memcpy(block + comm::kBlockWaitOffset, &wait, sizeof wait);
    }
    if (session) {
        session->deviceLock.reset();
        session->portLock.reset();
        session->lastCode = result.code;
        session->lastDetail = result.detail;
        if (session->link && session->link->Broken())
            session->DropLink();
    }
    return result.code;
}

// Takes the port lock of a serial connection for the call under way: other
// programs on the same port (an automatic line-settings scan above all) wait.
// The device's lock too, so that calls through other profiles on the same
// line wait as well; both within the profile's timeout.
CommResult LockPort(Session& s, int connection)
{
    if (s.profile.kind != LinkKind::Rtu || s.portLock)
        return {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(s.profile.timeoutMs);
    auto lock = std::make_unique<platform::PortLock>(connection);
    auto device = std::make_unique<platform::PortLock>(s.profile.serialDevice);
    bool taken = lock->TryAcquire(s.profile.timeoutMs);
    if (taken) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        taken = device->TryAcquire(left.count() > 0 ? static_cast<int>(left.count()) : 0);
    }
    if (!taken)
        return CommResult::Fail(Err::ConnectFailed, "connection " + std::to_string(connection)
                                                        + ": the serial port is in use by another program");
    s.portLock = std::move(lock);
    s.deviceLock = std::move(device);
    return {};
}

CommResult EnsureConnected(Session& s, int connection)
{
    if (s.link && s.connection == connection && !s.link->Broken())
        return LockPort(s, connection);
    s.DropLink();
    const auto profile = ProfileStore::Load(connection);
    if (!profile)
        return CommResult::Fail(Err::NoProfile, "connection number " + std::to_string(connection));
    if (std::string problem = ValidateProfile(*profile); !problem.empty())
        return CommResult::Fail(Err::BadProfile, "connection " + std::to_string(connection) + ": " + problem);
    s.profile = *profile;
    if (CommResult r = LockPort(s, connection); !r.Ok())
        return r;
    if (CommResult r = ModbusLink::Open(s.profile, s.link); !r.Ok())
        return r;
    s.link->SetReporter(s.RequestReporter(0));
    s.connection = connection;

    if (!s.profile.mapFile.empty()) {
        std::string error;
        auto map = MapFile::Load(s.profile.mapFile, error);
        if (!map) {
            s.DropLink();
            return CommResult::Fail(Err::BadMapFile, error);
        }
        s.map = std::move(map);
        Identity declared;
        declared.family = static_cast<std::uint8_t>(s.profile.family);
        declared.model = static_cast<std::uint16_t>(s.profile.model);
        declared.declared = true;
        s.identity = declared;
        return {};
    }
    if (CommResult r = ReadIdentity(s); !r.Ok()) {
        s.DropLink();
        return r;
    }
    s.map = std::make_unique<DefaultMap>(s.identity->devices);
    return {};
}

} // namespace commlib
