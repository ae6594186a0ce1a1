#pragma once

// The numbers of the auto-setting library's resources.

namespace portavo {

inline constexpr unsigned kDialogAutoSet = 129;
inline constexpr unsigned kStringFound = 42;
inline constexpr unsigned kStringSearching = 43;

// Controls of dialog 129.
namespace Control {
inline constexpr unsigned Cancel = 2;
inline constexpr unsigned Title = 1000;
inline constexpr unsigned Kind = 1001;
inline constexpr unsigned Port = 1002;
inline constexpr unsigned Baud = 1003;
inline constexpr unsigned DataLength = 1004;
inline constexpr unsigned Parity = 1005;
inline constexpr unsigned StopBits = 1006;
inline constexpr unsigned Progress = 1009;
inline constexpr unsigned Status = 1018;
// The labels in front of 1001 to 1006 carry the value's id + 100.
inline constexpr unsigned LabelOffset = 100;
} // namespace Control

} // namespace portavo
