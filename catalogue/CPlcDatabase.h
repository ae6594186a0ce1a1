#pragma once

// Read-only access to the PLC catalogue: series, models and their word devices.
// Callers open a connection, run one or more queries and close it again.

#include "model/DeviceModel.h"

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {
class IMessageBox;
}

// Where the catalogue file is: MEMORIX_CATALOGUE when set, else Memorix.db in the program folder.
std::string CatalogueLocation();

class CPlcDatabase {
public:
    // The message box receives the open-error message; the path defaults to CatalogueLocation().
    explicit CPlcDatabase(platform::IMessageBox& messages, std::string path = CatalogueLocation());
    ~CPlcDatabase();
    CPlcDatabase(const CPlcDatabase&) = delete;
    CPlcDatabase& operator=(const CPlcDatabase&) = delete;

    // open = true: DBOpen, 1 when the connection is open, else 0. open = false: closes, 1.
    int DBConnect(bool open);
    bool DBOpen();
    bool IsOpen() const { return m_db != nullptr; }

    // Row counts, or -2 on a database error (written to the debug output).
    int GetDBPLCSeriesAry(std::vector<stPLCSeries>& series);
    int GetDBPLCAry(int seriesNo, std::vector<stPLC>& models);
    // 1 found, 0 no such enabled model, -2 error.
    int GetDBPLCRec(stPLC& model, int modelId);
    // deviceCode < 0 lists every device of the model.
    int GetDBDeviceInstAry(std::vector<stDeviceInst>& devices, int modelId, int deviceCode);

    // Each opens and closes its own connection.
    bool IsKnownPlc(int seriesNo, int modelId);
    bool FindPlcById(int modelId, stPLC& model);

    const std::string& Path() const { return m_path; }

    // Checks a model's rows against the device model's limits; false after a
    // message that names the row which breaks them.
    bool CheckModelRows(const stPLC& model, const std::vector<stDeviceInst>& devices);

private:
    class Recordset;

    void GetRSPLCRec(Recordset& rs, stPLC& model);
    void GetRSDeviceInstRec(Recordset& rs, stDeviceInst& device);

    platform::IMessageBox& m_messages;
    std::string m_path;
    sqlite3* m_db = nullptr;
};
