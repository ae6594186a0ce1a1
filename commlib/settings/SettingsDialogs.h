#pragma once

// The two settings dialogs behind QelTeskCMSet 3 and 14, run modally. A
// QApplication is created for the call when the caller has none.

#include <cstdint>

namespace commlib {

// Profile list with editing; on OK the chosen profile's number and name
// (50-byte buffer) go back to the caller. False when cancelled.
bool RunCommSettings(const wchar_t* title, std::int32_t* connection, char* connectionName);

// The settings of the current profile. False when cancelled.
bool RunOnlineSettings(const char* title, std::int32_t* connection, char* connectionName, int nameSize);

} // namespace commlib
