#include "catalogue/CatalogueModel.h"

#include "catalogue/CPlcDatabase.h"

bool ReadCatalogueModel(CPlcDatabase& db, int modelId, CatalogueModel& out)
{
    out = CatalogueModel{};
    return db.GetDBPLCRec(out.model, modelId) > 0 && db.GetDBDeviceInstAry(out.devices, modelId, -1) > 0;
}
