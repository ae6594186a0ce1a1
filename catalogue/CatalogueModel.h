#pragma once

// A model's catalogue rows, as the document and the selections need them.

#include "model/DeviceModel.h"

#include <vector>

class CPlcDatabase;

struct CatalogueModel {
    stPLC model;
    std::vector<stDeviceInst> devices;
};

// Reads the model and its devices on an open connection; false when either
// cannot be read, the model has no devices, or its rows break the device
// model's limits (shown, with the row, in the connection's message box).
bool ReadCatalogueModel(CPlcDatabase& db, int modelId, CatalogueModel& out);
