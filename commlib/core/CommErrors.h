#pragma once

// The libraries' error codes and their texts. Every non-zero result of an
// ordinal is one of these; QelTeskUserIF 188 turns it into text.

#include <string>

namespace commlib {

namespace Err {
inline constexpr int NotInitialised = 1001; // 41 has not succeeded for this session block
inline constexpr int NotOnline = 1002;      // 8 has not been called, or 14 was
inline constexpr int BadArgument = 1003;    // null pointer, zero count and the like
inline constexpr int UnknownLanguage = 1004;
inline constexpr int NoProfile = 1010;  // no profile with this connection number
inline constexpr int BadProfile = 1011; // a stored profile with impossible values
inline constexpr int BadMapFile = 1012;
inline constexpr int ConnectFailed = 1020; // refused, unreachable, serial device not openable
inline constexpr int Timeout = 1021;       // no complete answer within the profile's timeout
inline constexpr int ConnectionLost = 1022;
inline constexpr int BadResponse = 1023;       // wrong length, wrong CRC, wrong transaction, garbage
inline constexpr int ExceptionBase = 1100;     // 1100 + the Modbus exception code (1..255)
inline constexpr int UnknownDevice = 1040;     // device code not in the map or the unit's device table
inline constexpr int OutOfRange = 1041;        // address, count or bank outside the device
inline constexpr int SizeMismatch = 1042;      // descriptor bytes per address differ from the device's
inline constexpr int NoIdentity = 1050;        // the unit does not identify itself and the profile declares nothing
inline constexpr int BadIdentity = 1051;       // identity registers with an impossible family
inline constexpr int NotAvailable = 1090;      // an entry point that does nothing in this version
inline constexpr int Cancelled = 1091;         // a settings dialog was closed with Cancel
inline constexpr int TransferCancelled = 1092; // QelTeskMsg_Cancel stopped a transfer
} // namespace Err

// The message of an error code in the given language (153's codes); a
// language without its own texts yet gets English. Unknown codes get a
// generic text that names the code.
std::string ErrorMessage(int code, int language);

// Whether the 153 language code is one the libraries accept.
bool IsKnownLanguage(int language);

} // namespace commlib
