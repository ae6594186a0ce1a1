// QelTeskCMSet: the settings dialogs for connection profiles.

#include "comm/CommExports.h"
#include "commlib/settings/SettingsDialogs.h"

#include <cstdint>

using namespace commlib;

// Communication settings: choose and edit profiles. 1 when the user chose a
// profile with OK (number and name written back), 0 when cancelled.
QELTESK_API int QelTeskCMSet_3(std::uint8_t* /*block*/, const wchar_t* /*appName*/, void* /*mainWindow*/,
                                  const wchar_t* appTitle, int /*zero*/, const std::int32_t* /*list32*/,
                                  int /*list32Count*/, const std::int16_t* /*list16*/, int /*list16Count*/,
                                  std::int32_t* connection, std::int32_t* out, char* connectionName, int /*one*/,
                                  int /*alreadyInitialised*/)
{
    if (out)
        *out = 0;
    return RunCommSettings(appTitle, connection, connectionName) ? 1 : 0;
}

// Online settings: the chosen profile's settings. Result 0, or 1091 when cancelled.
QELTESK_API int QelTeskCMSet_14(void* /*activeWindow*/, const char* appName, const char* /*appName2*/,
                                   int /*zero*/, int /*code6300*/, std::uint8_t* /*block*/, std::int32_t* connection,
                                   char* connectionName, int nameSize)
{
    return RunOnlineSettings(appName, connection, connectionName, nameSize) ? 0 : 1091;
}
