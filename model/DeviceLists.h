#pragma once

// The device and bank lists of a model, and the operations on a choice of ranges.

#include "model/DeviceModel.h"

#include <cstdint>
#include <vector>

class IStringTable;

// The one builder of both lists from a model's catalogue rows: every device
// with MinValue..DefaultEnd, unselected, and for a banked FL one entry per bank
// of the model, named with `IDS_BANK_NAME`.
void BuildDeviceLists(const stPLC& model, const std::vector<stDeviceInst>& rows, const IStringTable& strings,
                      DeviceInfoArray& devices, BankInfoArray& banks);

// Every device and bank selected with its default range.
void SelectAllWithDefaults(DeviceInfoArray& devices, BankInfoArray& banks);

// Swaps start and end where the start is the greater one.
void SwapReversedRanges(DeviceInfoArray& devices, BankInfoArray& banks);

// Whether any device or bank is selected.
bool AnySelected(const DeviceInfoArray& devices, const BankInfoArray& banks);

// Whether a blank document of these lists has any block: a selected device
// other than a banked FL, or a selected bank.
bool BuildsAnyBlock(const DeviceInfoArray& devices, const BankInfoArray& banks, std::uint8_t bankCount);
