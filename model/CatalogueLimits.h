#pragma once

// What the device model can hold of a catalogue model. A catalogue row beyond
// these is a damaged or hostile catalogue, not a PLC: taken as it is, it would
// make blocks of gigabytes, hundreds of banks, or ranges that end before they
// begin.

#include "model/DeviceModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace limits {
// The highest address of any device; well above the memory of every model.
inline constexpr std::int32_t kMaxAddress = 0xFFFFF;
// Words per address: a cell is at most 64 bits.
inline constexpr std::int32_t kMaxWordsPerAddress = 4;
inline constexpr int kMaxFLBanks = 16;
// DefaultPatternNo picks one of DataRegSize1..5.
inline constexpr int kMaxPatternNo = 4;
} // namespace limits

// Empty when the model's row and its device rows fit the limits above, else
// what is wrong, naming the row ("MDevice row of model 1792, device 21 (DT): ...").
std::string CatalogueModelFault(const stPLC& model, const std::vector<stDeviceInst>& devices);
