#pragma once

// The call contract of the five communication libraries: which entry point
// (by ordinal) takes which arguments, and the few fields of the shared session
// block and of the address descriptor that the program reads or writes.
// Whatever library answers these calls keeps exactly this contract.
//
// Naming: each library exports one extern "C" function per ordinal, named
// <library>_<ordinal> (QelTeskUserIF_41, QelTeskMsg_91, ...); callers link the
// libraries at load time and bind to these names. Nothing else is exported.

#include <cstddef>
#include <cstdint>

namespace comm {

// The session block: owned by the caller, zeroed at construction, passed first.
inline constexpr std::size_t kSessionBlockSize = 302;
inline constexpr std::size_t kBlockTitleOffset = 2; // 80-byte ANSI title, written while offline
inline constexpr std::size_t kBlockTitleSize = 80;
inline constexpr std::size_t kBlockLanguageOffset = 94;  // 16-bit, auto-setting scratch block
inline constexpr std::size_t kBlockVersionOffset = 96;   // 16-bit, auto-setting scratch block
inline constexpr std::size_t kBlockProtocolOffset = 100; // 8-bit protocol family: 0 or 1
inline constexpr std::size_t kBlockWaitOffset = 106;     // 32-bit wait in ms after a failed transfer

inline constexpr std::size_t kConnectionNameSize = 50;
inline constexpr std::size_t kAppNameSize = 200;
inline constexpr std::size_t kErrorTextSize = 4096;

// Protocol families (block offset 100).
inline constexpr std::uint8_t kFamilyMessage = 0;   // QelTeskMsg
inline constexpr std::uint8_t kFamilyProtocol7 = 1; // QelTesktocol7

// The libraries' own device numbers.
namespace ProtocolDevice {
inline constexpr std::uint32_t WR = 31;
inline constexpr std::uint32_t DT = 9;
inline constexpr std::uint32_t FL = 10;
inline constexpr std::uint32_t TS = 4;
inline constexpr std::uint32_t TE = 5;
inline constexpr std::uint32_t CS = 43;
inline constexpr std::uint32_t CE = 44;
inline constexpr std::uint32_t LD = 6;
inline constexpr std::uint32_t WL = 30;
} // namespace ProtocolDevice

// One address of a protocol-family-1 read or write; 22 bytes, packed.
#pragma pack(push, 1)
struct _dev2_7 {
    std::uint32_t device; // protocol device code
    std::uint32_t address;
    std::uint8_t unused[8]; // not filled
    std::uint8_t zero8;     // 0
    std::uint32_t zero32;   // 0
    std::uint8_t bytesPerAddress;
};
#pragma pack(pop)
static_assert(sizeof(_dev2_7) == 22, "the descriptor is 22 bytes on the wire");
static_assert(offsetof(_dev2_7, address) == 4);
static_assert(offsetof(_dev2_7, zero8) == 16);
static_assert(offsetof(_dev2_7, zero32) == 17);
static_assert(offsetof(_dev2_7, bytesPerAddress) == 21);

// Library file names (platform suffix added by the loader).
inline constexpr const char* kUserIfLibrary = "QelTeskUserIF";
inline constexpr const char* kProtocol7Library = "QelTesktocol7";
inline constexpr const char* kOnlineLibrary = "QelTeskOnline";
inline constexpr const char* kMessageLibrary = "QelTeskMsg";
inline constexpr const char* kSettingsLibrary = "QelTeskCMSet";

// Ordinals and their signatures. Results are 0 on success unless noted.
namespace UserIF {
inline constexpr int Initialise = 41;   // (block, 200-byte ANSI application name)
inline constexpr int SetLanguage = 153; // (block, language code)
inline constexpr int GoOnline = 8;      // (main window handle, block)
inline constexpr int GoOffline = 14;    // (block)
inline constexpr int SetTitle = 150;    // (block, ANSI title of at most 79 bytes)
inline constexpr int ErrorText = 188;   // (block, error code, 4096-byte buffer)
// Used by the auto-setting library, in call order.
inline constexpr int ResourceFolder = 256;   // (scratch block, ANSI path buffer, size): non-zero when written
inline constexpr int Busy = 151;             // (block) -> 16-bit; non-zero: nothing to do
inline constexpr int Version = 1;            // (pointer to 32-bit output)
inline constexpr int PortRecord = 282;       // (16-bit port) -> per-port record
inline constexpr int Prepare = 59;           // (block)
inline constexpr int Probe = 180;            // (block, 8-byte request, 8, response, pointer to 32-bit)
inline constexpr int ApplySettings = 138;    // (16-bit port, 200-byte settings record)
inline constexpr int ResetAfterFailure = 15; // (block, 0, scratch buffer)
inline constexpr int Release = 61;           // (block)
inline constexpr std::size_t kPortSettingsOffset = 24726; // in the per-port record
inline constexpr std::size_t kPortSettingsSize = 200;

using InitialiseFn = int (*)(std::uint8_t* block, const char* appName);
using SetLanguageFn = int (*)(std::uint8_t* block, int language);
using GoOnlineFn = int (*)(void* mainWindow, std::uint8_t* block);
using GoOfflineFn = int (*)(std::uint8_t* block);
using SetTitleFn = int (*)(std::uint8_t* block, const char* title);
using ErrorTextFn = int (*)(std::uint8_t* block, int errorCode, char* buffer);
using ResourceFolderFn = int (*)(std::uint8_t* scratch, char* path, int size);
using BusyFn = std::uint16_t (*)(std::uint8_t* block);
using VersionFn = int (*)(std::uint32_t* out);
using PortRecordFn = std::uint8_t* (*)(std::uint16_t port);
using PrepareFn = int (*)(std::uint8_t* block);
using ProbeFn = int (*)(std::uint8_t* block, const std::uint8_t* request, int requestSize, std::uint8_t* response,
                        std::uint32_t* out);
using ApplySettingsFn = int (*)(std::uint16_t port, const std::uint8_t* settings);
using ResetAfterFailureFn = int (*)(std::uint8_t* block, int zero, std::uint8_t* scratch);
using ReleaseFn = int (*)(std::uint8_t* block);
} // namespace UserIF

// Language codes of UserIF::SetLanguage.
namespace Language {
inline constexpr int English = 0;
inline constexpr int Japanese = 1;
inline constexpr int ChineseSimplified = 2;
inline constexpr int ChineseTraditional = 3;
inline constexpr int Korean = 4;
inline constexpr int Spanish = 5;
inline constexpr int Italian = 6;
inline constexpr int Thai = 9;
} // namespace Language

namespace Online {
inline constexpr int Identify = 5; // (block, connection, 28-byte out, 48-byte out, connection name, app name)
inline constexpr int ModelId = 3;  // (block, connection, 28-byte out): byte 0 is the catalogue model id
using IdentifyFn = int (*)(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out28, std::uint8_t* out48,
                           const char* connectionName, const char* appName);
using ModelIdFn = int (*)(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out28);
} // namespace Online

namespace Protocol7 {
inline constexpr int ReadType = 1; // (block, connection, 48-byte out, 0): words at 2 and 4 = type high, low
inline constexpr int Read = 7;     // (block, connection, 1, address count, descriptors, buffer)
inline constexpr int Write = 8;    // same arguments
using ReadTypeFn = int (*)(std::uint8_t* block, std::uint16_t connection, std::uint8_t* out48, int zero);
using TransferFn = int (*)(std::uint8_t* block, std::uint16_t connection, int one, int count,
                           const _dev2_7* descriptors, std::uint8_t* buffer);
} // namespace Protocol7

namespace Message {
inline constexpr int Read = 91;           // (block, connection, device, start, bank, count, buffer)
inline constexpr int Write = 92;          // same arguments
inline constexpr int ConnectionText = 37; // (block, connection, 200-byte name, 4096-byte buffer)
using TransferFn = int (*)(std::uint8_t* block, std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                           std::uint16_t bank, std::uint32_t count, std::uint8_t* buffer);
using ConnectionTextFn = int (*)(std::uint8_t* block, std::uint16_t connection, const char* name, char* buffer);
} // namespace Message

// Our own export beside the ordinals: QelTeskMsg_SetProgress(block, callback,
// context) has the transfers of this session block (91, 92, 7, 8) call back
// after each request with the words moved so far and the words of the call,
// on the caller's thread. A null callback stops it; 41 forgets it. 0, or 1001
// without a session.
using ProgressFn = void (*)(void* context, std::uint32_t wordsDone, std::uint32_t wordsTotal);
using SetProgressFn = int (*)(std::uint8_t* block, ProgressFn callback, void* context);

// And QelTeskMsg_Cancel(block), callable from any thread while a transfer of
// this session block (91, 92, 7, 8) runs in another: the transfer stops
// before its next request on every connection and returns 1092. A cancel
// counts only while a transfer runs; one that comes between transfers is
// dropped, so it never stops the next transfer. 0 when a transfer was
// running, 1 when none was, 1001 without a session.
using CancelFn = int (*)(std::uint8_t* block);

// And QelTeskMsg_SetRequestLog(block, callback, context): after it, each
// request the libraries make for that session block (identification, window
// selects, transfers) is reported once its answer came or it failed, from the
// thread that made it (a transfer's further connections run threads of their
// own): the callback must be safe from any thread and must not call the
// libraries. A null callback stops the reports; 0, or 1001 without a session.
struct RequestRecord {
    std::uint16_t connection = 0;  // the profile's number
    std::uint16_t lane = 0;        // 0 the session's own connection, 1.. a transfer's further ones
    std::uint32_t device = 0;      // the device of a transfer's request (as in 91, 92, 7, 8); 0 for none
    std::uint32_t address = 0;     // the device's first address the request moves; else the first register
    std::uint32_t lastAddress = 0; // and the last one
    std::uint32_t words = 0;       // registers asked for
    std::uint32_t micros = 0;      // from sending the request to its answer or failure
    std::int32_t result = 0;       // 0, or the library's error code
    char function[40] = {};        // what the request asked for, in words
    char detail[160] = {};         // what went wrong, empty when nothing did
};
using RequestLogFn = void (*)(void* context, const RequestRecord* record);
using SetRequestLogFn = int (*)(std::uint8_t* block, RequestLogFn callback, void* context);

// And QelTeskMsg_CheckWords(block, connection, device, words per address): 0
// when an address of the device holds that many words in the connected unit,
// else 1042 (1040 for a device it does not have), with the device and both
// sizes in the detail of 188. The range calls 91 and 92 cannot tell how large
// the caller's buffer is, so a caller asks this before the first of them.
// Connects like the transfers; it talks to the unit only to identify it.
using CheckWordsFn = int (*)(std::uint8_t* block, std::uint16_t connection, std::uint32_t device,
                             std::uint32_t wordsPerAddress);

// And QelTeskCMSet_DetectLine(connection, found, save, message, size): the
// automatic line-settings scan on the serial profile of a connection, without
// a window. 0 when the unit answered: found holds the line it answered on and,
// with save non-zero, the profile holds it too. Otherwise found is untouched
// and the result is the scan's code: -10053 nothing answered, -10066 not a
// serial line, 1010 no such profile, 1003 a null found, or another code of
// the libraries. message (size bytes, size > 0) always gets the words for the
// user, cut to fit.
struct LineSettings {
    std::int32_t baud;     // bit/s
    std::int32_t dataBits; // 7 or 8
    std::int32_t parity;   // 0 none, 1 odd, 2 even
    std::int32_t stopBits; // 1 or 2
};
static_assert(sizeof(LineSettings) == 16);
using DetectLineFn = int (*)(std::uint16_t connection, LineSettings* found, int save, char* message, int size);

namespace Settings {
inline constexpr int CommSettings = 3;    // 1 is success
inline constexpr int OnlineSettings = 14; // result not read
// The two lists of ordinal 3: {12010, 0, 0, 0, 12020} (5 entries) and
// {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0} (18 entries).
inline constexpr std::int32_t kCommSettingsList32[5] = {12010, 0, 0, 0, 12020};
inline constexpr std::int16_t kCommSettingsList16[18] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
inline constexpr int kOnlineSettingsCode = 6300;
// (block or null, application name, main window, application name, 0, list32, 5, list16, 18,
//  in/out connection number, out 0, in/out 50-byte connection name, 1, already initialised 1/0).
// Wide texts are the platform's wchar_t.
using CommSettingsFn = int (*)(std::uint8_t* block, const wchar_t* appName, void* mainWindow, const wchar_t* appTitle,
                               int zero, const std::int32_t* list32, int list32Count, const std::int16_t* list16,
                               int list16Count, std::int32_t* connection, std::int32_t* out, char* connectionName,
                               int one, int alreadyInitialised);
// (active window, application name, application name, 0, 6300, block, in/out connection number,
//  in/out connection name, its buffer size 50).
using OnlineSettingsFn = int (*)(void* activeWindow, const char* appName, const char* appName2, int zero, int code6300,
                                 std::uint8_t* block, std::int32_t* connection, char* connectionName, int nameSize);
} // namespace Settings

} // namespace comm
