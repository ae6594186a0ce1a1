// QelTeskCMSet: the settings dialogs for connection profiles.

#include "contract/CommExports.h"
#include "commlib/core/Session.h"
#include "commlib/settings/SettingsDialogs.h"

#include <cstdint>

using namespace commlib;

namespace {

// Profiles may have changed: the session's link is opened again from the
// profile at its next call.
void AfterSettingsChanged(std::uint8_t* block, bool online)
{
    std::lock_guard lock(SessionLock());
    if (Session* s = FindSession(block)) {
        s->DropLink();
        if (online)
            s->online = true;
    }
}

} // namespace

// Communication settings: choose and edit profiles. 1 when the user chose a
// profile with OK (number and name written back), 0 when cancelled. After OK
// a session block that was initialised before the call counts as online.
QELTESK_API int QelTeskCMSet_3(std::uint8_t* block, const wchar_t* /*appName*/, void* /*mainWindow*/,
                               const wchar_t* appTitle, int /*zero*/, const std::int32_t* /*list32*/,
                               int /*list32Count*/, const std::int16_t* /*list16*/, int /*list16Count*/,
                               std::int32_t* connection, std::int32_t* out, char* connectionName, int /*one*/,
                               int alreadyInitialised)
{
    if (out)
        *out = 0;
    if (!RunCommSettings(appTitle, connection, connectionName))
        return 0;
    AfterSettingsChanged(block, alreadyInitialised == 1);
    return 1;
}

// Online settings: the chosen profile's settings. Result 0, or 1091 when cancelled.
QELTESK_API int QelTeskCMSet_14(void* /*activeWindow*/, const char* appName, const char* /*appName2*/, int /*zero*/,
                                int /*code6300*/, std::uint8_t* block, std::int32_t* connection, char* connectionName,
                                int nameSize)
{
    if (!RunOnlineSettings(appName, connection, connectionName, nameSize))
        return 1091;
    AfterSettingsChanged(block, false);
    return 0;
}
