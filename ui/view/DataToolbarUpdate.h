#pragma once

#include "model/DeviceModel.h"

// A refill of the data tool bar's boxes. A flag or index of -1 leaves that box alone.
struct DataToolbarUpdate {
    bool radix = false;
    bool unit = false;
    int deviceIndex = -1;
    int bankIndex = -1;
    bool columns = false;
    const DeviceInfoArray* devices = nullptr; // null: the current PLC's list
    const BankInfoArray* banks = nullptr;     // null: the current PLC's list
    bool show = false;
};
