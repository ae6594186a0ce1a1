#pragma once

// The device and bank lists of a model as a new choice of ranges starts from.

#include "core/DeviceModel.h"

#include <cstdint>

class CPlcDatabase;
class IStringTable;

// Builds both lists from the catalogue (an open connection): every device with
// MinValue..DefaultEnd unselected, and for a banked FL one entry per bank named
// with string 708. False, with both lists empty, when the model or its devices
// cannot be read.
bool BuildDeviceLists(CPlcDatabase& db, int modelId, std::uint8_t bankCount, const IStringTable& strings,
                      DeviceInfoArray& devices, BankInfoArray& banks);

// Every device and bank selected with its default range.
void SelectAllWithDefaults(DeviceInfoArray& devices, BankInfoArray& banks);

// Swaps start and end where the start is the greater one.
void SwapReversedRanges(DeviceInfoArray& devices, BankInfoArray& banks);

// Whether any device or bank is selected.
bool AnySelected(const DeviceInfoArray& devices, const BankInfoArray& banks);
