#pragma once

// How default ranges are derived and how a chosen range follows a device to
// another words-per-address size and into another model's address limits.

#include "model/DeviceModel.h"

#include <cstdint>
#include <string>

struct ConvertedRange {
    std::int32_t StartAddr = 0;
    std::int32_t EndAddr = 0;
    std::int32_t Remainder = 0; // words of the first new address that precede the old first word
};

// Carries a device range of oldSize words per address to newSize words per
// address, in 32-bit arithmetic. Equal sizes keep the range. A size below 1 is
// a catalogue fault that would divide by zero: the range is then kept as well.
ConvertedRange ConvertDeviceRange(std::int32_t start, std::int32_t end, std::int32_t oldSize, std::int32_t newSize);

// The same for a bank range: both ends scaled by oldSize / newSize.
ConvertedRange ScaleBankRange(std::int32_t start, std::int32_t end, std::int32_t oldSize, std::int32_t newSize);

// Keeps start and end only when strictly between minValue and maxValue;
// otherwise the start becomes minValue and the end maxValue.
void ClampToDevice(std::int32_t& start, std::int32_t& end, std::int32_t minValue, std::int32_t maxValue);

// The default last address: DefaultDataRegSize - 1 for DT, MaxValue otherwise.
std::int32_t DefaultEndOf(const stDeviceInst& device, const stPLC& model);

// A device list entry from a catalogue row: default range MinValue..endAddr, unselected.
stDeviceInfo MakeDeviceInfo(const stDeviceInst& device, std::int32_t defaultEnd, std::int32_t endAddr);

// A bank entry of the FL device: MinValue..MaxValue, unselected.
_SBankInfo MakeBankInfo(const stDeviceInst& fileRegister, std::int16_t bankNo, std::string name);
