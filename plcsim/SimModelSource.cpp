#include "plcsim/SimModelSource.h"

#include "catalogue/CPlcDatabase.h"
#include "files/DataFiles.h"
#include "model/PlcChoice.h"
#include "platform/ConsoleMessageBox.h"

#include <cstdio>
#include <map>

namespace {

// Protocol device codes of the catalogue's devices.
const std::map<std::uint8_t, std::uint32_t> kProtocolCodes = {
    {DeviceCode::WR, 31}, {DeviceCode::WL, 30}, {DeviceCode::DT, 9},  {DeviceCode::LD, 6}, {DeviceCode::FL, 10},
    {DeviceCode::TS, 4},  {DeviceCode::TE, 5},  {DeviceCode::CS, 43}, {DeviceCode::CE, 44}};

bool FindModel(const std::string& catalogue, int modelId, stPLC& plc)
{
    platform::ConsoleMessageBox messages(stderr);
    CPlcDatabase db(messages, catalogue);
    return db.FindPlcById(modelId, plc);
}

} // namespace

std::string SimDefaultCatalogue()
{
    return CatalogueLocation();
}

bool LoadSimModel(const std::string& catalogue, int modelId, SimModel& model, std::string& error)
{
    platform::ConsoleMessageBox messages(stderr);
    CPlcDatabase db(messages, catalogue);
    if (db.DBConnect(true) != 1) {
        error = "cannot open the catalogue " + catalogue;
        return false;
    }
    stPLC plc;
    std::vector<stDeviceInst> devices;
    const bool found = db.GetDBPLCRec(plc, modelId) > 0 && db.GetDBDeviceInstAry(devices, modelId, -1) > 0;
    db.DBConnect(false);
    if (!found) {
        error = "model " + std::to_string(modelId) + " is not an enabled model of the catalogue";
        return false;
    }
    model.id = plc.Id;
    model.name = plc.FullName;
    model.devices.clear();
    for (const stDeviceInst& d : devices) {
        auto code = kProtocolCodes.find(d.Id);
        if (code == kProtocolCodes.end())
            continue;
        SimDevice device;
        device.catalogueId = d.Id;
        device.code = code->second;
        device.name = d.Name;
        device.wordsPerAddress = static_cast<std::uint16_t>(d.DataSize);
        device.banks = PlcChoice::IsFLBankDevice(d.Id, plc.FLBankNum) ? plc.FLBankNum : 0;
        device.addresses = static_cast<std::uint32_t>(d.MaxValue) + 1;
        model.devices.push_back(device);
    }
    return true;
}

bool ReadSimDataFile(const std::string& /*catalogue*/, const std::string& path, int& modelId,
                     std::vector<SimBlock>& blocks, std::string& error)
{
    LdtxReader reader(path);
    LdtxHeader header;
    EditDataArray data;
    LdtxResult result = reader.ReadHeader(header);
    if (result.ok())
        result = reader.ReadBlocks(data);
    if (!result.ok()) {
        error = "cannot read the data file " + path;
        if (result.fault == LdtxFault::OpenFailed)
            error += ": " + result.reason;
        else if (result.fault == LdtxFault::Damaged)
            error += ": damaged (" + std::to_string(result.detail) + ")";
        else if (result.fault == LdtxFault::NotDataFile || result.fault == LdtxFault::Empty)
            error += ": not a Memorix data file";
        return false;
    }
    modelId = header.modelId;
    blocks.clear();
    for (const CEditData& d : data)
        blocks.push_back({d.Id, static_cast<std::uint16_t>(d.BankNo), d.StartAddr, d.EndAddr, d.DataSize, d.Data});
    return true;
}

bool WriteSimDataFile(const std::string& catalogue, int modelId, const std::vector<SimBlock>& blocks,
                      const std::string& path, std::string& error)
{
    stPLC plc;
    if (!FindModel(catalogue, modelId, plc)) {
        error = "model " + std::to_string(modelId) + " is not in the catalogue";
        return false;
    }
    EditDataArray data;
    for (const SimBlock& b : blocks) {
        CEditData d;
        d.Id = b.catalogueId;
        d.StartAddr = b.start;
        d.EndAddr = b.end;
        d.DataSize = b.wordsPerAddress;
        d.Data = b.bytes;
        d.BankNo = static_cast<std::int16_t>(b.bank);
        data.push_back(std::move(d));
    }
    if (WriteLdtx(path, {plc.PLCSeriesNo, modelId}, data) != FileError::None) {
        error = "cannot write the data file " + path;
        return false;
    }
    return true;
}
