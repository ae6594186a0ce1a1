// Peers the libraries did not make: mbpoll against the simulator, and a
// pymodbus unit without identity registers described by a map file.

#include "support/CommSession.h"
#include "support/SimulatorProcess.h"

#include "support/RunProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>
#include <unistd.h>

using namespace commtest;

namespace {

std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> words)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

} // namespace

TEST(PeerTest, MbpollReadsWhatTheLibrariesWroteAndTheyReadWhatItWrote)
{
    UseFreshSettingsFolder();
    SimulatorProcess sim({"--model", "33"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(0, sim.Port());
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);
    auto written = Words({0x1234, 0xBEEF, 0x0001, 0x8000, 0xFFFF});
    ASSERT_EQ(QelTeskMsg_92(s.Block(), 0, 9, 0, 0xFFFF, 5, written.data()), 0);

    const std::string port = std::to_string(sim.Port());
    const auto read =
        testsupport::RunProcess("/usr/bin/mbpoll", {"-m", "tcp", "-p", port, "-a", "1", "-0", "-r", "0", "-c", "5",
                                                    "-t", "4:hex", "-1", "-o", "2", "127.0.0.1"});
    ASSERT_EQ(read.exitCode, 0) << read.out << read.err;
    std::vector<std::string> values;
    const std::regex line(R"(\[\d+\]:\s+0x([0-9A-Fa-f]{4}))");
    for (std::sregex_iterator it(read.out.begin(), read.out.end(), line), end; it != end; ++it)
        values.push_back((*it)[1]);
    EXPECT_EQ(values, (std::vector<std::string>{"1234", "BEEF", "0001", "8000", "FFFF"})) << read.out;

    const auto write =
        testsupport::RunProcess("/usr/bin/mbpoll", {"-m", "tcp", "-p", port, "-a", "1", "-0", "-r", "100", "-t", "4",
                                                    "-1", "-o", "2", "127.0.0.1", "--", "111", "222", "333"});
    ASSERT_EQ(write.exitCode, 0) << write.out << write.err;
    int result = -1;
    EXPECT_EQ(s.Read91(0, 9, 100, 0xFFFF, 3, 1, result), Words({111, 222, 333}));
    EXPECT_EQ(result, 0);
}

TEST(PeerTest, APymodbusUnitWithDeclaredFamilyAndModelThroughAMapFile)
{
    UseFreshSettingsFolder();
    SimulatorProcess unit("/usr/bin/python3", {COMMLIB_TEST_SOURCE_DIR "/pymodbus_server.py"});
    ASSERT_GT(unit.Port(), 0) << unit.Log();

    const std::string mapPath = "/tmp/memorix-peer-" + std::to_string(getpid()) + ".map";
    std::ofstream(mapPath) << "# the pymodbus unit's registers\n"
                              "DT  -  0  99  0\n"
                              "WR  -  0   9  200\n"
                              "TS  -  0   4  300  2\n";
    commlib::Profile p = commlib::DefaultProfile();
    p.name = "pymodbus";
    p.port = unit.Port();
    p.mapFile = mapPath;
    p.family = 0;
    p.model = 33;
    commlib::ProfileStore::Save(6, p);

    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);
    std::uint8_t out28[28], out48[48];
    int identified = -1;
    // The unit may still be starting up.
    for (int i = 0; i < 50 && identified != 0; ++i) {
        identified = QelTeskOnline_5(s.Block(), 6, out28, out48, "", "");
        if (identified != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_EQ(identified, 0) << s.ErrorText(identified);
    EXPECT_EQ(s.block[comm::kBlockProtocolOffset], 0);
    EXPECT_EQ(out28[3], 1); // declared, not reported by the unit
    std::uint8_t model[28];
    ASSERT_EQ(QelTeskOnline_3(s.Block(), 6, model), 0);
    EXPECT_EQ(model[0], 33);

    int result = -1;
    const auto dt = s.Read91(6, 9, 0, 0xFFFF, 100, 1, result);
    ASSERT_EQ(result, 0) << s.ErrorText(result);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(dt[2 * i] | (dt[2 * i + 1] << 8), 3 * i + 1) << i;

    auto ts = Descriptors(4, 0, 5, 4);
    std::vector<std::uint8_t> tsData(20);
    ASSERT_EQ(QelTesktocol7_7(s.Block(), 6, 1, 5, ts.data(), tsData.data()), 0);
    EXPECT_EQ(tsData[0] | (tsData[1] << 8), 3 * 300 + 1);
    EXPECT_EQ(tsData[18] | (tsData[19] << 8), 3 * 309 + 1);

    auto wr = Words({7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    ASSERT_EQ(QelTeskMsg_92(s.Block(), 6, 31, 0, 0xFFFF, 10, wr.data()), 0);
    EXPECT_EQ(s.Read91(6, 31, 0, 0xFFFF, 10, 1, result), wr);
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 6, 9, 99, 0xFFFF, 2, wr.data()), 1041);
    std::remove(mapPath.c_str());
}
