#pragma once

// The automatic line-settings scan of one session block, without its user
// interface: the progress dialog is handed in.

#include <cstdint>
#include <functional>

namespace portavo {

// Results of the export besides the communication library's own codes.
inline constexpr int kResultUnsupportedKind = -10066;
inline constexpr int kResultNotFound = -10053;

// Results of the progress dialog.
inline constexpr int kDialogFound = 1;
inline constexpr int kDialogCancelled = 2;
inline constexpr int kDialogFailed = -1;

// Shows the progress dialog on a copy of the block; on kDialogFound the 200
// settings bytes it found are in settings.
using ProgressDialogFn = std::function<int(std::uint8_t* block, std::uint8_t* settings)>;

// Runs the scan on the caller's block (302 bytes) and returns 0, -10066,
// -10053 or a code of the communication library.
int RunAutoSet(std::uint8_t* block, const ProgressDialogFn& dialog);

// Applies a settings record to the block's port and probes the unit: once
// more when the first probe fails. 0 when it answered.
int ApplyAndProbe(std::uint8_t* block, std::uint16_t port, int attempts);

// Probes the unit on the block's port with the block's settings: 0 when it answered.
int ProbeOnce(std::uint8_t* block);

} // namespace portavo
