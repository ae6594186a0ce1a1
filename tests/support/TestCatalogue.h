#pragma once

// Test helpers around catalogue files: the one the build ships, and small
// SQLite files a test makes for itself in a scratch folder.

#include "platform/DebugOutput.h"
#include "platform/TempFile.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

namespace testsupport {

// The catalogue beside the built executables.
inline std::string BuiltCatalogue()
{
    const char* folder = std::getenv("MEMORIX_BIN_DIR");
    return std::string(folder ? folder : ".") + "/Memorix.db";
}

// A temporary folder of the test's own, removed with everything in it.
struct Scratch {
    std::string dir = platform::TempFolder() + "/memorix-test-XXXXXX";
    Scratch() { EXPECT_NE(mkdtemp(dir.data()), nullptr); }
    ~Scratch() { std::filesystem::remove_all(dir); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    std::string Path(const std::string& name) const { return dir + "/" + name; }

    // Runs sql in a new SQLite file and returns its path.
    std::string Db(const std::string& sql, const std::string& name = "test.db") const
    {
        const std::string path = Path(name);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        return path;
    }
};

// Collects the debug output while alive.
struct DebugCapture {
    std::string text;
    platform::DebugSink previous = platform::SetDebugSink([this](std::string_view line) { text += line; });
    ~DebugCapture() { platform::SetDebugSink(std::move(previous)); }
    DebugCapture() = default;
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;
};

// Untyped MPLC and MDevice tables keep every value exactly as inserted.
inline constexpr const char* kUntypedTables = R"sql(
CREATE TABLE MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo, DataRegSize1, DataRegSize2,
                   DataRegSize3, DataRegSize4, DataRegSize5, Is16bitCPUFlg, FLBankNum, DisableFlg,
                   No INTEGER GENERATED ALWAYS AS (0) VIRTUAL);
CREATE TABLE MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue, DataSize);
)sql";

} // namespace testsupport
