// CPlcDatabase against the catalogue the build ships (see the model list at the
// top of catalogue/Memorix.sql) and against small files made by each test.

#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/DebugOutput.h"
#include "platform/ProgramFolder.h"
#include "platform/TempFile.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace {

using platform::ConsoleMessageBox;
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

using testsupport::BuiltCatalogue;
using testsupport::DebugCapture;
using testsupport::kUntypedTables;
using testsupport::Scratch;

template <class Rows>
std::vector<int> Ids(const Rows& rows)
{
    std::vector<int> ids;
    for (const auto& row : rows)
        ids.push_back(row.Id);
    return ids;
}

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(db.DBConnect(true), 1) << db.Path(); }
    void TearDown() override
    {
        EXPECT_TRUE(messages.Shown().empty());
        EXPECT_EQ(debug.text, "");
    }
    std::vector<stPLC> Models(int seriesNo)
    {
        std::vector<stPLC> models(1);
        EXPECT_GE(db.GetDBPLCAry(seriesNo, models), 0);
        return models;
    }
    std::vector<stDeviceInst> Devices(int modelId, int code = -1)
    {
        std::vector<stDeviceInst> devices(1);
        EXPECT_GE(db.GetDBDeviceInstAry(devices, modelId, code), 0);
        return devices;
    }

    ConsoleMessageBox messages{nullptr};
    CPlcDatabase db{messages, BuiltCatalogue()};
    DebugCapture debug;
};

} // namespace

TEST_F(Catalogue, OnlyEnabledModelsAndTheirSeriesAreListed)
{
    std::vector<stPLCSeries> series;
    ASSERT_EQ(db.GetDBPLCSeriesAry(series), 3); // series 3 has only disabled models
    EXPECT_EQ(series[0].SeriesName, "Compact Series A");
    EXPECT_EQ((std::vector<int>{series[0].PLCSeriesNo, series[1].PLCSeriesNo, series[2].PLCSeriesNo}),
              (std::vector<int>{1, 2, 4}));

    EXPECT_EQ(Ids(Models(1)), (std::vector<int>{1796, 1792, 1793, 1794})); // by DispOrder; 1795 disabled
    EXPECT_EQ(Ids(Models(2)), (std::vector<int>{32, 33, 34, 35}));
    EXPECT_TRUE(Models(3).empty());
    EXPECT_TRUE(Models(99).empty());

    stPLC model;
    ASSERT_EQ(db.GetDBPLCRec(model, 1792), 1);
    EXPECT_EQ(model.FullName, "CA-100");
    EXPECT_EQ(model.DataRegSize5, 65536);
    EXPECT_EQ(model.DefaultDataRegSize, 32768); // pattern 2
    stPLC untouched;
    untouched.FullName = "before";
    EXPECT_EQ(db.GetDBPLCRec(untouched, 1795), 0);
    EXPECT_EQ(db.GetDBPLCRec(untouched, 1536), 0);
    EXPECT_EQ(db.GetDBPLCRec(untouched, 0x1234), 0);
    EXPECT_EQ(untouched.FullName, "before");
}

TEST_F(Catalogue, DevicesComeInDisplayOrderThenByCode)
{
    const std::vector<int> usual{18, 19, 21, 22, 49, 27, 28, 12, 13};
    EXPECT_EQ(Ids(Devices(1792)), usual);
    // CA-200 shows each timer and counter pair at one position; its rows are stored in reverse.
    const std::vector<stDeviceInst> paired = Devices(1793);
    EXPECT_EQ(Ids(paired), usual);
    EXPECT_EQ(paired[5].DispOrder, paired[6].DispOrder);
    EXPECT_EQ(Ids(Devices(32)), (std::vector<int>{18, 21, 49, 27, 28, 12, 13}));

    const std::vector<stDeviceInst> dt = Devices(1794, DeviceCode::DT);
    ASSERT_EQ(dt.size(), 1u);
    EXPECT_EQ(dt[0].Name, "DT");
    EXPECT_EQ(dt[0].MaxValue, 524287);
    EXPECT_EQ(Devices(1794, DeviceCode::TS)[0].DataSize, 2);
    EXPECT_TRUE(Devices(32, DeviceCode::WL).empty()); // MB-16S has no WL
    EXPECT_TRUE(Devices(0x1234).empty());
}

TEST_F(Catalogue, ModelsServeTheLegacyFormatsAndDeviceSizes)
{
    std::set<int> codes;
    std::map<int, int> formats;
    std::vector<stPLCSeries> series;
    db.GetDBPLCSeriesAry(series);
    for (const stPLCSeries& entry : series) {
        for (const stPLC& model : Models(entry.PLCSeriesNo)) {
            SCOPED_TRACE(model.FullName);
            const stDeviceInst dt = Devices(model.Id, DeviceCode::DT).at(0);
            EXPECT_GT(model.DefaultDataRegSize, 0);
            EXPECT_LE(model.DefaultDataRegSize, dt.MaxValue - dt.MinValue + 1);
            for (const stDeviceInst& device : Devices(model.Id)) {
                codes.insert(device.Id);
                const bool timerOrCounter = device.Id == 12 || device.Id == 13 || device.Id == 27 || device.Id == 28;
                EXPECT_EQ(device.DataSize, model.Is16bitCPUFlg == 0 && timerOrCounter ? 2 : 1) << device.Name;
            }
            // The legacy format code: 0 without a 16-bit CPU, 2048 with banks, else by memory size.
            std::uint32_t counter = 39;
            for (int code : {18, 21, 49, 27, 28, 22, 19}) {
                const std::vector<stDeviceInst> rows = Devices(model.Id, code);
                counter += rows.empty() ? 1u : static_cast<std::uint32_t>(rows[0].MaxValue - rows[0].MinValue + 1);
            }
            formats[model.Id] = model.Is16bitCPUFlg == 0 ? 0 : model.FLBankNum ? 2048 : counter >= 32767 ? 32 : 16;
        }
    }
    EXPECT_EQ(codes, (std::set<int>{12, 13, 18, 19, 21, 22, 27, 28, 49}));
    EXPECT_EQ(formats,
              (std::map<int, int>{
                  {1792, 0}, {1793, 0}, {1794, 0}, {1796, 0}, {2560, 0}, {32, 16}, {33, 32}, {34, 2048}, {35, 2048}}));
    EXPECT_EQ(Models(2)[2].FLBankNum, 3);
    EXPECT_EQ(Models(2)[3].FLBankNum, 8);
}

TEST_F(Catalogue, LookUpsLeaveTheConnectionAsTheyFoundIt)
{
    db.DBConnect(false);
    EXPECT_TRUE(db.IsKnownPlc(1, 1792));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.IsKnownPlc(2, 1792)); // another series
    EXPECT_FALSE(db.IsKnownPlc(1, 1795)); // disabled
    stPLC model;
    EXPECT_TRUE(db.FindPlcById(33, model));
    EXPECT_EQ(model.FullName, "MB-32L");
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.FindPlcById(1795, model));

    ASSERT_EQ(db.DBConnect(true), 1);
    EXPECT_TRUE(db.IsKnownPlc(4, 2560));
    EXPECT_TRUE(db.FindPlcById(35, model));
    EXPECT_TRUE(db.IsOpen());
}

TEST(CatalogueOpen, MissingOrForeignFileShowsOneMessagePerAttempt)
{
    ::setenv("MEMORIX_CATALOGUE", "/elsewhere/cat.db", 1);
    EXPECT_EQ(CatalogueLocation(), "/elsewhere/cat.db");
    ::setenv("MEMORIX_CATALOGUE", "", 1);
    EXPECT_EQ(CatalogueLocation(), platform::ProgramFolder() + "/Memorix.db");

    Scratch scratch;
    const std::string missing = scratch.dir + "/Memorix.db";
    ConsoleMessageBox messages(nullptr);
    CPlcDatabase db(messages, missing);
    stPLC model;
    EXPECT_EQ(db.DBConnect(true), 0);
    EXPECT_EQ(db.DBConnect(true), 0);
    EXPECT_FALSE(db.IsKnownPlc(1, 1792));
    EXPECT_FALSE(db.FindPlcById(1792, model));
    EXPECT_FALSE(std::filesystem::exists(missing));
    ASSERT_EQ(messages.Shown().size(), 4u);
    const platform::MessageRequest& shown = messages.Shown()[0];
    EXPECT_EQ(shown.stringId, 0);
    EXPECT_EQ(shown.icon, platform::MsgIcon::Information);
    EXPECT_EQ(shown.text, "Database open err: OPENERR [DBOpen] \nunable to open database file: " + missing);

    const std::string text = scratch.dir + "/text.db";
    std::ofstream(text) << "plain text, long enough to fill the header of a database file and then some";
    EXPECT_EQ(CPlcDatabase(messages, text).DBConnect(true), 0);
    EXPECT_NE(messages.Shown().back().text.find("file is not a database"), std::string::npos);
    EXPECT_EQ(CPlcDatabase(messages, "").DBConnect(true), 0); // not SQLite's temporary database
    EXPECT_EQ(messages.Shown().size(), 6u);
}

TEST(CatalogueQueries, FailuresReturnMinusTwoAndWriteTheSqlToDebugOutput)
{
    Scratch scratch;
    ConsoleMessageBox messages(nullptr);
    CPlcDatabase db(messages, scratch.Db("CREATE TABLE MPLCSeries (PLCSeriesNo, SeriesName);"));
    DebugCapture debug;
    std::vector<stPLCSeries> series(1);
    EXPECT_EQ(db.GetDBPLCSeriesAry(series), -2); // not connected
    EXPECT_TRUE(series.empty());
    ASSERT_EQ(db.DBConnect(true), 1);
    debug.text.clear();

    std::vector<stPLC> models(1);
    std::vector<stDeviceInst> devices(1);
    stPLC model;
    EXPECT_EQ(db.GetDBPLCSeriesAry(series), -2);
    EXPECT_EQ(db.GetDBPLCAry(-7, models), -2);
    EXPECT_EQ(db.GetDBPLCRec(model, 1792), -2);
    EXPECT_EQ(db.GetDBDeviceInstAry(devices, 1792, -1), -2);
    EXPECT_EQ(db.GetDBDeviceInstAry(devices, 1792, 21), -2);
    EXPECT_TRUE(models.empty() && devices.empty());
    EXPECT_EQ(debug.text,
              "SQL Error: **SQL0810** [GetDBPLCSeriesAry] SQL=SELECT DISTINCT MPLCSeries.*, MPLC.DisableFlg "
              "FROM MPLCSeries, MPLC WHERE MPLCSeries.PLCSeriesNo = MPLC.PLCSeriesNo AND MPLC.DisableFlg = No "
              "ORDER BY MPLCSeries.PLCSeriesNo;\nno such table: MPLC\n"
              "SQL Error!! **SQL0110** [GetDBPLCAry] strSql =SELECT * FROM MPLC WHERE PLCSeriesNo = -7 "
              "AND DisableFlg = 0 ORDER BY DispOrder;\nno such table: MPLC\n"
              "DB Error!! **SQL0110** [GetDBPLCRec] SQL=SELECT * FROM MPLC WHERE Id = 1792 AND DisableFlg = No ;\n"
              "no such table: MPLC\n"
              "SQL Error!! **SQL0450** [GetDBDeviceInstAry] SQL=SELECT * FROM MDevice WHERE PlcId = 1792 "
              "ORDER BY DispOrder, Id;\nno such table: MDevice\n"
              "SQL Error!! **SQL0450** [GetDBDeviceInstAry] SQL=SELECT * FROM MDevice WHERE PlcId = 1792  "
              "AND Id = 21 ORDER BY DispOrder, Id;\nno such table: MDevice\n");
    EXPECT_TRUE(messages.Shown().empty());
}

TEST(CatalogueQueries, RowsReadBeforeAFailingRowAreKept)
{
    // Reading the third row fails: abs() of the smallest integer overflows. DispOrder as
    // the row key lets the rows stream without being sorted first.
    Scratch scratch;
    ConsoleMessageBox messages(nullptr);
    CPlcDatabase db(messages, scratch.Db(R"sql(
CREATE TABLE MPLC (Id, FullName, PLCSeriesNo, DispOrder INTEGER PRIMARY KEY, DisableFlg, Big INTEGER);
INSERT INTO MPLC VALUES (10, 'a', 1, 1, 0, 0), (11, 'b', 1, 2, 0, 0), (12, 'c', 1, 3, 0, -9223372036854775808),
                        (13, 'd', 1, 4, 0, 0);
ALTER TABLE MPLC ADD COLUMN Trap GENERATED ALWAYS AS (abs(Big)) VIRTUAL;
)sql"));
    ASSERT_EQ(db.DBConnect(true), 1);
    DebugCapture debug;
    std::vector<stPLC> models;
    EXPECT_EQ(db.GetDBPLCAry(1, models), -2);
    EXPECT_EQ(Ids(models), (std::vector<int>{10, 11}));
    // The copies report the columns this table lacks; the query reports the failed step.
    EXPECT_NE(debug.text.find("[GetDBPLCAry] strSql =SELECT * FROM MPLC WHERE PLCSeriesNo = 1 AND DisableFlg = 0 "
                              "ORDER BY DispOrder;\ninteger overflow\n"),
              std::string::npos)
        << debug.text;
}

TEST(CatalogueRows, ColumnTextIsConvertedLikeTheClassicTextToInteger)
{
    Scratch scratch;
    ConsoleMessageBox messages(nullptr);
    CPlcDatabase db(messages, scratch.Db(std::string(kUntypedTables) + R"sql(
INSERT INTO MPLC VALUES (' 42abc', NULL, 1, '+1', '300', 'abc', '-12x', 3.9, '99999999999', '-99999999999',
                         ' ' || char(9) || '7', 259, 0);
INSERT INTO MPLC VALUES (50, 'p4', 1, '2', 4, 11, 22, 33, 44, 55, 0, 0, 0), (51, 'p5', 1, '3', 5, 11, 22, 33, 44, 55, 0, 0, 0),
                        (52, 'p256', 1, '4', 256, 11, 22, 33, 44, 55, 0, 0, 0);
INSERT INTO MDevice VALUES (42, 277, '', X'4142', '-0', '1e3', '- 2'), (42, -1, '1', 'WR', '0x10', 7, '2147483648');
)sql"));
    ASSERT_EQ(db.DBConnect(true), 1);
    DebugCapture debug;
    std::vector<stPLC> models;
    ASSERT_EQ(db.GetDBPLCAry(1, models), 4);
    const stPLC& m = models[0];
    EXPECT_EQ(std::vector<std::int32_t>({m.Id, m.DispOrder, m.DataRegSize1, m.DataRegSize2, m.DataRegSize3,
                                         m.DataRegSize4, m.DataRegSize5, m.Is16bitCPUFlg}),
              std::vector<std::int32_t>({42, 1, 0, -12, 3, kMaxInt, std::numeric_limits<std::int32_t>::min(), 7}));
    EXPECT_EQ(m.FullName, "");
    EXPECT_EQ(m.DefaultPatternNo, 44); // 300 keeps its low byte, which is no pattern
    EXPECT_EQ(m.DefaultDataRegSize, 0);
    EXPECT_EQ(m.FLBankNum, 3);                   // 259
    EXPECT_EQ(models[1].DefaultDataRegSize, 55); // pattern 4
    EXPECT_EQ(models[2].DefaultDataRegSize, 0);  // pattern 5
    EXPECT_EQ(models[3].DefaultDataRegSize, 11); // pattern 256 reads as 0

    std::vector<stDeviceInst> devices;
    ASSERT_EQ(db.GetDBDeviceInstAry(devices, 42, -1), 2);
    EXPECT_EQ(Ids(devices), (std::vector<int>{21, 255})); // 277 and -1 keep their low byte
    EXPECT_EQ(devices[0].Name, "AB");
    EXPECT_EQ(std::vector<std::int32_t>({devices[0].MinValue, devices[0].MaxValue, devices[0].DataSize,
                                         devices[1].DispOrder, devices[1].MinValue, devices[1].DataSize}),
              std::vector<std::int32_t>({0, 1, 0, 1, 0, kMaxInt}));
    EXPECT_EQ(debug.text, "");
}

TEST(CatalogueRows, MissingColumnEndsTheCopyButTheRowIsKept)
{
    Scratch scratch;
    ConsoleMessageBox messages(nullptr);
    CPlcDatabase db(messages, scratch.Db(R"sql(
CREATE TABLE MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo, DataRegSize1, DataRegSize2,
                   DataRegSize4, DataRegSize5, Is16bitCPUFlg, FLBankNum, DisableFlg,
                   No INTEGER GENERATED ALWAYS AS (0) VIRTUAL);
CREATE TABLE MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue);
INSERT INTO MPLC VALUES (7, 'seven', 1, 1, 0, 100, 200, 400, 500, 1, 2, 0), (8, 'eight', 1, 2, 0, 101, 201, 401, 501, 1, 2, 0);
INSERT INTO MDevice VALUES (7, 21, 1, 'DT', 0, 99), (7, 18, 2, 'WR', 0, 9);
)sql"));
    ASSERT_EQ(db.DBConnect(true), 1);
    DebugCapture debug;
    std::vector<stPLC> models;
    ASSERT_EQ(db.GetDBPLCAry(1, models), 2);
    EXPECT_EQ(models[1].FullName, "eight");
    EXPECT_EQ(models[1].DataRegSize2, 201);
    EXPECT_EQ(models[1].DataRegSize4, 0);       // not read
    EXPECT_EQ(models[1].DefaultDataRegSize, 0); // not derived
    const std::string plcError = "SQL Error!! **SQL0120** [GetRSPLCRec] no column named DataRegSize3 in the result\n";
    EXPECT_EQ(debug.text, plcError + plcError);

    debug.text.clear();
    stPLC model;
    EXPECT_EQ(db.GetDBPLCRec(model, 8), 1);
    EXPECT_EQ(model.DataRegSize1, 101);
    std::vector<stDeviceInst> devices;
    ASSERT_EQ(db.GetDBDeviceInstAry(devices, 7, -1), 2);
    EXPECT_EQ(devices[1].MaxValue, 9);
    const std::string deviceError =
        "SQL Error!! **SQL0400** [GetRSDeviceInstRec] no column named DataSize in the result\n";
    EXPECT_EQ(debug.text, plcError + deviceError + deviceError);
}

// Every model the build ships fits the device model; a catalogue whose rows do
// not is refused when the model is read, with the row named, rather than
// serving devices of billions of addresses or hundreds of banks.
TEST(CatalogueLimits, RowsBeyondTheDeviceModelAreRefusedWithTheRowNamed)
{
    {
        ConsoleMessageBox messages(nullptr);
        CPlcDatabase db(messages, BuiltCatalogue());
        ASSERT_EQ(db.DBConnect(true), 1);
        std::vector<stPLCSeries> series;
        ASSERT_GT(db.GetDBPLCSeriesAry(series), 0);
        for (const stPLCSeries& entry : series) {
            std::vector<stPLC> models;
            db.GetDBPLCAry(entry.PLCSeriesNo, models);
            for (const stPLC& model : models) {
                CatalogueModel read;
                EXPECT_TRUE(ReadCatalogueModel(db, model.Id, read)) << model.Id;
            }
        }
        EXPECT_TRUE(messages.Shown().empty());
    }

    const std::string goodModel = "(7, 'seven', 1, 1, 0, 100, 200, 300, 400, 500, 0, 0, 0)";
    const std::string goodDevice = "(7, 21, 1, 'DT', 0, 99, 1)";
    const struct {
        const char* name;
        std::string model;
        std::string device;
        const char* says; // empty: the model is read
    } rows[] = {
        {"good", goodModel, goodDevice, ""},
        {"huge MaxValue", goodModel, "(7, 21, 1, 'DT', 0, 2147483647, 1)",
         "device 21 (DT): the addresses 0 to 2147483647"},
        {"MinValue above MaxValue", goodModel, "(7, 21, 1, 'DT', 50, 10, 1)", "MinValue 50 is above MaxValue 10"},
        {"negative MinValue", goodModel, "(7, 21, 1, 'DT', -5, 10, 1)", "the addresses -5 to 10"},
        {"no words", goodModel, "(7, 21, 1, 'DT', 0, 99, 0)", "DataSize 0 is not 1 to 4"},
        {"255 FL banks", "(7, 'seven', 1, 1, 0, 100, 200, 300, 400, 500, 0, 255, 0)", "(7, 49, 1, 'FL', 0, 99, 1)",
         "MPLC row of model 7: 255 FL banks"},
        {"huge register size", "(7, 'seven', 1, 1, 0, 2147483647, 200, 300, 400, 500, 0, 0, 0)", goodDevice,
         "DataRegSize1 2147483647"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Scratch scratch;
        ConsoleMessageBox messages(nullptr);
        CPlcDatabase db(messages, scratch.Db(std::string(kUntypedTables) + "INSERT INTO MPLC VALUES " + row.model
                                             + "; INSERT INTO MDevice VALUES " + row.device + ";"));
        ASSERT_EQ(db.DBConnect(true), 1);
        CatalogueModel read;
        EXPECT_EQ(ReadCatalogueModel(db, 7, read), *row.says == '\0');
        if (*row.says) {
            ASSERT_EQ(messages.Shown().size(), 1u);
            EXPECT_NE(messages.Shown()[0].text.find(row.says), std::string::npos) << messages.Shown()[0].text;
            EXPECT_TRUE(read.devices.empty());
        }
    }

    // A catalogue without the DataSize column reads every device as having no words.
    Scratch scratch;
    ConsoleMessageBox messages(nullptr);
    CPlcDatabase db(messages, scratch.Db(R"sql(
CREATE TABLE MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo, DataRegSize1, DataRegSize2,
                   DataRegSize3, DataRegSize4, DataRegSize5, Is16bitCPUFlg, FLBankNum, DisableFlg,
                   No INTEGER GENERATED ALWAYS AS (0) VIRTUAL);
CREATE TABLE MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue);
INSERT INTO MPLC VALUES (7, 'seven', 1, 1, 0, 100, 200, 300, 400, 500, 0, 0, 0);
INSERT INTO MDevice VALUES (7, 21, 1, 'DT', 0, 99);
)sql"));
    ASSERT_EQ(db.DBConnect(true), 1);
    DebugCapture debug;
    CatalogueModel read;
    EXPECT_FALSE(ReadCatalogueModel(db, 7, read));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_NE(messages.Shown()[0].text.find("device 21 (DT): DataSize 0"), std::string::npos);
    db.DBConnect(false);

    // A named pipe as the catalogue is refused at once instead of waiting for a writer.
    const std::string pipe = scratch.Path("pipe.db");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(CPlcDatabase(messages, pipe).DBConnect(true), 0);
    EXPECT_NE(messages.Shown().back().text.find("named pipe"), std::string::npos) << messages.Shown().back().text;
}
