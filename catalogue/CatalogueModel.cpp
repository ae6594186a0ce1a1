#include "catalogue/CatalogueModel.h"

#include "catalogue/CPlcDatabase.h"

bool ReadCatalogueModel(CPlcDatabase& db, int modelId, CatalogueModel& out)
{
    out = CatalogueModel{};
    if (db.GetDBPLCRec(out.model, modelId) > 0 && db.GetDBDeviceInstAry(out.devices, modelId, -1) > 0
        && db.CheckModelRows(out.model, out.devices))
        return true;
    out = CatalogueModel{};
    return false;
}
