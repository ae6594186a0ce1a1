#pragma once

#include "programs/cli/DeviceArg.h"
#include "model/DeviceModel.h"

#include <cstdint>
#include <string>

// Marks one --select in the lists: the device (or every bank of a banked FL,
// or the one bank named) with the range given or its default range. False
// with an error text when the device, bank or range does not fit the model.
bool SelectRange(const DeviceArg& arg, std::uint8_t bankCount, DeviceInfoArray& devices, BankInfoArray& banks,
                 std::string& error);
