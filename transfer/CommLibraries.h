#pragma once

// The exports of the communication libraries that the transfer session calls,
// bound when a session first needs them. The libraries are loaded from the
// program's folder (else by name, from wherever the process already has them)
// and stay loaded until the program ends: a program that only edits files
// never loads them, nor the toolkit and the Modbus library they bring along.

#include "contract/CommContract.h"

#include <string>

namespace transfer {

struct CommExports {
    // QelTeskUserIF
    comm::UserIF::InitialiseFn initialise = nullptr;   // QelTeskUserIF_41
    comm::UserIF::SetLanguageFn setLanguage = nullptr; // QelTeskUserIF_153
    comm::UserIF::GoOnlineFn goOnline = nullptr;       // QelTeskUserIF_8
    comm::UserIF::GoOfflineFn goOffline = nullptr;     // QelTeskUserIF_14
    comm::UserIF::SetTitleFn setTitle = nullptr;       // QelTeskUserIF_150
    comm::UserIF::ErrorTextFn errorText = nullptr;     // QelTeskUserIF_188
    // QelTeskOnline
    comm::Online::IdentifyFn identify = nullptr; // QelTeskOnline_5
    comm::Online::ModelIdFn modelId = nullptr;   // QelTeskOnline_3
    // QelTesktocol7
    comm::Protocol7::ReadTypeFn readType = nullptr;       // QelTesktocol7_1
    comm::Protocol7::TransferFn readByAddress = nullptr;  // QelTesktocol7_7
    comm::Protocol7::TransferFn writeByAddress = nullptr; // QelTesktocol7_8
    // QelTeskMsg
    comm::Message::TransferFn readRange = nullptr;            // QelTeskMsg_91
    comm::Message::TransferFn writeRange = nullptr;           // QelTeskMsg_92
    comm::Message::ConnectionTextFn connectionText = nullptr; // QelTeskMsg_37
    comm::SetProgressFn setProgress = nullptr;                // QelTeskMsg_SetProgress
    comm::CheckWordsFn checkWords = nullptr;                  // QelTeskMsg_CheckWords
    // Stops the transfer running on a session block at its next request, from
    // any thread. Optional: without it a transfer stops between blocks.
    comm::CancelFn cancel = nullptr; // QelTeskMsg_Cancel
    // Optional too: without it the communication log stays empty.
    comm::SetRequestLogFn setRequestLog = nullptr; // QelTeskMsg_SetRequestLog
    // QelTeskCMSet
    comm::Settings::CommSettingsFn commSettings = nullptr;     // QelTeskCMSet_3
    comm::Settings::OnlineSettingsFn onlineSettings = nullptr; // QelTeskCMSet_14
    comm::DetectLineFn detectLine = nullptr;                   // QelTeskCMSet_DetectLine
};

// The code shown with a session the libraries could not be loaded for or
// could not set up, beside the libraries' own codes.
inline constexpr int kLibrariesNotSetUp = 100000;

// The bound exports, loading the libraries on the first call (from any
// thread). nullptr when a library or an export is missing, with the reason in
// error; a later call tries again.
const CommExports* LoadCommExports(std::string& error);

} // namespace transfer
