#pragma once

// What the data file tests share: an application object on the built
// catalogue, a scratch folder, and byte-level access to files.

#include "app/CMemorixApp.h"
#include "platform/Coding.h"
#include "catalogue/CPlcDatabase.h"
#include "document/FileErrors.h"
#include "document/ReadDataFile.h"
#include "files/DataFiles.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "support/FakeStringTable.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace filestest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A block whose bytes count up from seed, so misplaced bytes show.
inline CEditData Block(std::uint8_t id, std::int32_t start, std::int32_t end, std::int32_t dataSize = 1,
                       std::int16_t bank = 0, std::uint8_t seed = 1)
{
    CEditData block{id, start, end, dataSize, {}, bank};
    block.Data.resize(static_cast<std::size_t>(end - start + 1) * static_cast<std::size_t>(dataSize) * 2);
    for (std::size_t i = 0; i < block.Data.size(); ++i)
        block.Data[i] = static_cast<std::uint8_t>(seed + i * 7);
    return block;
}

inline bool SameBlocks(const EditDataArray& a, const EditDataArray& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Id != b[i].Id || a[i].StartAddr != b[i].StartAddr || a[i].EndAddr != b[i].EndAddr
            || a[i].DataSize != b[i].DataSize || a[i].BankNo != b[i].BankNo || a[i].Data != b[i].Data)
            return false;
    }
    return true;
}

// The files as the document reads and writes them for the application's PLC.
inline bool ReadLdtxFile(CMemorixApp& app, const std::string& path, EditDataArray& blocks)
{
    CPlcDatabase db(app.Messages(), app.CataloguePath());
    return ReadLdtxFile(app.Context(), db, path, blocks);
}

inline FileError ReadLdtFile(CMemorixApp& app, const std::string& path, EditDataArray& blocks)
{
    CPlcDatabase db(app.Messages(), app.CataloguePath());
    return ReadLdtFile(app.Context(), db, path, blocks);
}

inline FileError WriteLdtxFile(CMemorixApp& app, const std::string& path, const EditDataArray& blocks,
                               unsigned sections = LDTX_ALL_SECTIONS)
{
    return WriteLdtx(path, {app.Plc().m_nPLCSeriesNo, app.Plc().m_nPLCId}, blocks, sections);
}

inline FileError WriteLdtFile(CMemorixApp& app, const std::string& path, const EditDataArray& blocks)
{
    PlcChoice& plc = app.Plc();
    const std::uint16_t format = plc.RefreshLdtFormat();
    return WriteLdt(app.GetLdtFile(), path, {format, plc.m_nPLCId, true, plc.m_strLdtText1, plc.m_strLdtText2}, blocks);
}

inline void ReleaseLdtFile(CMemorixApp& app)
{
    app.GetLdtFile().Close();
}

inline void ReportFileError(CMemorixApp& app, FileError error)
{
    ReportFileError(app.Messages(), app.Strings(), error);
}

class FilesTest : public ::testing::Test {
protected:
    // Makes a model of the catalogue the current PLC, as the selection dialog would.
    void Choose(int seriesNo, int modelId, int is16bit, std::uint8_t banks)
    {
        app->Plc().m_nPLCSeriesNo = seriesNo;
        app->Plc().m_nPLCId = modelId;
        app->Plc().m_Is16bitCPUFlg = is16bit;
        app->Plc().m_FLBankNum = banks;
        CPlcDatabase db(messages, app->CataloguePath());
        std::vector<stDeviceInst> devices;
        if (db.DBConnect(true) == 1)
            db.GetDBDeviceInstAry(devices, modelId, -1);
        app->Plc().m_bLargeDeviceMemory = IsLargeDeviceMemory(devices);
    }

    // The one message shown since the last call, as "<stringId>|<text>"; "" when none, "many" when several.
    std::string Shown()
    {
        const auto& shown = messages.Shown();
        std::string out = shown.empty()      ? ""
                          : shown.size() > 1 ? "many"
                                             : std::to_string(shown[0].stringId) + "|" + shown[0].text;
        if (shown.size() == 1 && shown[0].icon != platform::MsgIcon::Stop)
            out += " (not the stop icon)";
        messages.ClearShown();
        return out;
    }

    platform::ConsoleMessageBox messages{nullptr};
    testsupport::FakeStringTable strings;
    platform::MemorySettingsStore settings;
    std::unique_ptr<CMemorixApp> app =
        std::make_unique<CMemorixApp>(AppServices{messages, strings, settings, testsupport::BuiltCatalogue()});
    testsupport::Scratch scratch;
};

} // namespace filestest
