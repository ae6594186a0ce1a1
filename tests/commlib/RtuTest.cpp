// The libraries and the simulator on a serial line: two pseudo-terminals
// joined by socat, the simulator on one end, the profile on the other.

#include "support/CommSession.h"
#include "support/PtyPair.h"
#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace commtest;

TEST(RtuTest, BothFamiliesOverASerialLine)
{
    UseFreshSettingsFolder();
    for (const char* model : {"35", "1794"}) {
        PtyPair line;
        ASSERT_TRUE(line.Ready());
        SimulatorProcess sim(
            {"--model", model, "--rtu", line.Sim(), "--baud", "115200", "--parity", "E", "--unit", "5"});
        ASSERT_TRUE(sim.Started()) << sim.Log();
        SaveRtuProfile(2, line.App());
        // A profile asking for parallel requests still gets one at a time on the line.
        auto profile = *commlib::ProfileStore::Load(2);
        profile.parallel = 8;
        commlib::ProfileStore::Save(2, profile);
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        std::uint8_t out28[28], out48[48];
        ASSERT_EQ(QelTeskOnline_5(s.Block(), 2, out28, out48, "", ""), 0) << s.ErrorText(1021);
        const bool family1 = std::string(model) == "1794";
        EXPECT_EQ(s.block[comm::kBlockProtocolOffset], family1 ? 1 : 0);
        if (family1) {
            std::uint8_t type[48] = {};
            ASSERT_EQ(QelTesktocol7_1(s.Block(), 2, type, 0), 0);
            EXPECT_EQ(type[2], 7);
            EXPECT_EQ(type[4], 2);
        } else {
            std::uint8_t id[28] = {};
            ASSERT_EQ(QelTeskOnline_3(s.Block(), 2, id), 0);
            EXPECT_EQ(id[0], 35);
        }

        // DT across a window boundary, FL of a bank (family 0) or TS of two words (family 1).
        auto dt = Pattern(600, 3);
        if (family1) {
            auto list = Descriptors(9, 32668, 300, 2);
            ASSERT_EQ(QelTesktocol7_8(s.Block(), 2, 1, 300, list.data(), dt.data()), 0);
            std::vector<std::uint8_t> back(600);
            ASSERT_EQ(QelTesktocol7_7(s.Block(), 2, 1, 300, list.data(), back.data()), 0);
            EXPECT_EQ(back, dt);
            auto ts = Pattern(4096 * 4, 4);
            auto tsList = Descriptors(4, 0, 4096, 4);
            ASSERT_EQ(QelTesktocol7_8(s.Block(), 2, 1, 4096, tsList.data(), ts.data()), 0);
            std::vector<std::uint8_t> tsBack(ts.size());
            ASSERT_EQ(QelTesktocol7_7(s.Block(), 2, 1, 4096, tsList.data(), tsBack.data()), 0);
            EXPECT_EQ(tsBack, ts);
        } else {
            ASSERT_EQ(QelTeskMsg_92(s.Block(), 2, 10, 32468, 5, 300, dt.data()), 0);
            int result = -1;
            EXPECT_EQ(s.Read91(2, 10, 32468, 5, 300, 1, result), dt);
            EXPECT_EQ(result, 0);
            EXPECT_EQ(s.Read91(2, 10, 32468, 4, 300, 1, result), std::vector<std::uint8_t>(600, 0));
        }
        char text[comm::kErrorTextSize];
        ASSERT_EQ(QelTeskMsg_37(s.Block(), 2, "", text), 0);
        EXPECT_EQ(std::string(text), "Serial: Modbus RTU " + line.App() + " 115200 8E1, unit 5, timeout 1000 ms");
        QelTeskUserIF_14(s.Block());
    }
}

TEST(RtuTest, ASilentUnitOrAnotherUnitAddressTimesOut)
{
    UseFreshSettingsFolder();
    PtyPair line;
    ASSERT_TRUE(line.Ready());
    SimulatorProcess sim({"--model", "33", "--rtu", line.Sim(), "--baud", "115200", "--parity", "E", "--unit", "6"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveRtuProfile(1, line.App(), 250); // unit 5: nobody answers
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);
    std::uint8_t out28[28], out48[48];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(QelTeskOnline_5(s.Block(), 1, out28, out48, "", ""), 1021);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
    EXPECT_NE(s.ErrorText(1021).find("Modbus RTU " + line.App()), std::string::npos);
}
