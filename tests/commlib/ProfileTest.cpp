// Connection profiles and register map files: what a new user starts with,
// what is refused, and what a map file's mistakes are called.

#include "support/CommSession.h"

#include "commlib/core/MapFile.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace commtest;
using commlib::Profile;

TEST(ProfileTest, ProfileZeroReachesTheSimulatorUntilChangedAndProfilesPersist)
{
    UseFreshSettingsFolder();
    char text[comm::kErrorTextSize] = {};
    ASSERT_EQ(QelTeskMsg_37(nullptr, 0, "", text), 0);
    EXPECT_STREQ(text, "Simulator: Modbus TCP 127.0.0.1:1502, unit 1, timeout 1000 ms");
    EXPECT_EQ(QelTeskMsg_37(nullptr, 7, "", text), 1010);

    Profile rtu = commlib::DefaultProfile();
    rtu.name = "Line 2";
    rtu.kind = commlib::LinkKind::Rtu;
    rtu.serialDevice = "/dev/null";
    rtu.baud = 19200;
    rtu.parity = 'E';
    rtu.unit = 7;
    rtu.timeoutMs = 250;
    commlib::ProfileStore::Save(7, rtu);
    ASSERT_EQ(QelTeskMsg_37(nullptr, 7, "", text), 0);
    EXPECT_STREQ(text, "Line 2: Modbus RTU /dev/null 19200 8E1, unit 7, timeout 250 ms");
    EXPECT_EQ(commlib::ProfileStore::Numbers(), (std::vector<int>{0, 7}));
    const std::string file = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Varnholt/QelTesk.conf";
    EXPECT_TRUE(std::filesystem::exists(file)) << file;
}

TEST(ProfileTest, ImpossibleValuesAreRefusedWithTheReason)
{
    Profile p = commlib::DefaultProfile();
    EXPECT_EQ(commlib::ValidateProfile(p), "");
    p.port = 0;
    EXPECT_EQ(commlib::ValidateProfile(p), "The TCP port must be 1 to 65535.");
    p = commlib::DefaultProfile();
    p.timeoutMs = 0;
    EXPECT_EQ(commlib::ValidateProfile(p), "The timeout must be 1 to 60000 ms.");
    p = commlib::DefaultProfile();
    p.kind = commlib::LinkKind::Rtu;
    p.serialDevice = "/dev/ttyNOSUCH9";
    EXPECT_EQ(commlib::ValidateProfile(p), "The serial device \"/dev/ttyNOSUCH9\" does not exist.");
    p = commlib::DefaultProfile();
    p.family = 1;
    EXPECT_EQ(commlib::ValidateProfile(p), "A declared protocol family needs a declared model id.");
    p = commlib::DefaultProfile();
    p.parallel = 9;
    EXPECT_EQ(commlib::ValidateProfile(p), "The parallel requests must be 1 to 8.");
    p.parallel = 0;
    EXPECT_EQ(commlib::ValidateProfile(p), "The parallel requests must be 1 to 8.");
}

// Profiles stored before the parallel requests existed get the default; a
// serial line carries one request at a time whatever the profile says.
TEST(ProfileTest, ParallelRequestsAreStoredAndOldProfilesGetTheDefault)
{
    UseFreshSettingsFolder();
    Profile p = commlib::DefaultProfile();
    EXPECT_EQ(p.parallel, 4);
    p.parallel = 7;
    commlib::ProfileStore::Save(3, p);
    EXPECT_EQ(commlib::ProfileStore::Load(3)->parallel, 7);
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, commlib::ProfileStore::kOrganization,
                           commlib::ProfileStore::kApplication);
        settings.remove(QStringLiteral("Profiles/3/ParallelRequests"));
    }
    EXPECT_EQ(commlib::ProfileStore::Load(3)->parallel, 4);
    EXPECT_EQ(commlib::ParallelRequests(p), 7);
    p.kind = commlib::LinkKind::Rtu;
    EXPECT_EQ(commlib::ParallelRequests(p), 1);
}

TEST(ProfileTest, MapFilesNameTheLineOfEachMistake)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"DT - 0 9 0\nXX - 0 9 100\n", "m line 2: unknown device \"XX\""},
        {"# only a comment\nDT - 0 9\n", "m line 2: expected DEVICE BANK FIRST LAST REGISTER [WORDS], found 4 fields"},
        {"DT - 9 0 0\n", "m line 1: FIRST and LAST must be addresses with FIRST <= LAST"},
        {"DT - 0 9 65530\n", "m line 1: the registers run past 65535"},
        {"DT - 0 9 0\nDT - 5 20 100\n", "m line 2: the addresses overlap an earlier line of DT"},
        {"TS - 0 9 0 5\n", "m line 1: words per address \"5\" is not 1 to 4"},
        {"FL x 0 9 0\n", "m line 1: bank \"x\" is not a number from 0 to 65534 or \"-\""},
        {"\n# nothing\n", "m: the map names no registers"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        std::string error;
        EXPECT_EQ(commlib::MapFile::Read(in, "m", error), nullptr) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }

    // A good map: stretches of one device join where the registers continue.
    std::istringstream in("dt - 0 99 0x100   # data\nDT - 100 199 356\nTS - 0 9 1000 2\nFL 1 0 9 2000\n");
    std::string error;
    auto map = commlib::MapFile::Read(in, "m", error);
    ASSERT_NE(map, nullptr) << error;
    std::vector<commlib::RegisterRun> runs;
    ASSERT_TRUE(map->Locate(9, commlib::kNoBank, 50, 100, runs).Ok());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].first, 0x100 + 50);
    EXPECT_EQ(runs[0].words, 100u);
    ASSERT_TRUE(map->Locate(4, commlib::kNoBank, 9, 1, runs).Ok());
    EXPECT_EQ(runs[0].first, 1018);
    EXPECT_EQ(runs[0].words, 2u);
    EXPECT_EQ(map->Locate(9, commlib::kNoBank, 150, 51, runs).code, 1041);
    EXPECT_EQ(map->Locate(10, 0, 0, 1, runs).code, 1041);
    EXPECT_TRUE(map->Locate(10, 1, 0, 10, runs).Ok());
}

TEST(ProfileTest, LanguagesAndTextsOfCodes)
{
    std::uint8_t block[comm::kSessionBlockSize] = {};
    EXPECT_EQ(QelTeskUserIF_153(block, 9), 0);
    EXPECT_EQ(QelTeskUserIF_153(block, 7), 1004);
    char text[comm::kErrorTextSize];
    ASSERT_EQ(QelTeskUserIF_188(block, 1102, text), 0);
    EXPECT_STREQ(text, "The PLC refused the request: the address is outside its memory.");
    ASSERT_EQ(QelTeskUserIF_188(block, 4242, text), 0);
    EXPECT_STREQ(text, "Communication error 4242.");
    // Japanese has texts of its own, the numbered ones included.
    EXPECT_EQ(QelTeskUserIF_153(block, 1), 0);
    ASSERT_EQ(QelTeskUserIF_188(block, 1102, text), 0);
    EXPECT_STREQ(text, "PLC が要求を拒否しました: アドレスがメモリの範囲外です。");
    ASSERT_EQ(QelTeskUserIF_188(block, 4242, text), 0);
    EXPECT_STREQ(text, "通信エラー 4242。");
    EXPECT_EQ(QelTeskUserIF_153(block, 0), 0);
    // The scan's entry points without a session: may run (59 then says
    // what is missing), and no record for a connection number without a profile.
    std::uint32_t out = 0;
    EXPECT_EQ(QelTeskUserIF_1(&out), 0);
    EXPECT_EQ(QelTeskUserIF_151(block), 0);
    EXPECT_EQ(QelTeskUserIF_59(block), 1001);
    EXPECT_EQ(QelTeskUserIF_282(4711), nullptr);
}

// A map path that is no map file is refused at once: a named pipe is not
// waited on, and /dev/zero or a huge file is not read into memory.
TEST(ProfileTest, MapPathsThatAreNoMapFilesAreRefusedAtOnce)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("memorix-map-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string pipe = (folder / "pipe.map").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = (folder / "huge.map").string();
    {
        std::ofstream create(huge);
    }
    std::filesystem::resize_file(huge, 64u << 20); // sparse: no disk is used
    const std::string good = (folder / "good.map").string();
    std::ofstream(good) << "DT - 0 9 0\n";

    const struct {
        std::string path;
        const char* error; // empty: the map is read
    } cases[] = {
        {pipe, "it is a named pipe (FIFO), not a file"},         {"/dev/zero", "it is a device, not a file"},
        {folder.string(), "it is a folder, not a file"},         {huge, "too large for a map"},
        {(folder / "missing.map").string(), "cannot be opened"}, {good, ""},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto map = commlib::MapFile::Load(c.path, error);
        EXPECT_EQ(map == nullptr, *c.error != '\0') << c.path << ": " << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.path << ": " << error;
    }
    std::filesystem::remove_all(folder);
}
