// Every fault of the simulator reaches the caller as an error code with a
// text, within the profile's timeout, and never takes the caller down.

#include "support/CommSession.h"
#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

using namespace commtest;

namespace {

struct FaultCase {
    std::vector<std::string> options;
    std::set<int> codes;
    const char* text;
};

} // namespace

TEST(FaultTest, EachFaultIsAnErrorWithTextWithinTheTimeout)
{
    UseFreshSettingsFolder();
    const int timeoutMs = 300;
    // The first request of a connection (the identity) gets through, so the
    // fault meets a transfer.
    const FaultCase cases[] = {
        {{"--silent"}, {1021}, "did not answer in time"},
        {{"--delay", "2000"}, {1021}, "did not answer in time"},
        {{"--exception", "4"}, {1104}, "device failure"},
        {{"--exception", "11"}, {1111}, "behind the gateway did not answer"},
        {{"--garbage"}, {1021, 1023}, ""},
        {{"--drop-after", "1"}, {1022}, "connection to the PLC was lost"},
    };
    for (const FaultCase& c : cases) {
        std::vector<std::string> args{"--model", "33", "--faults-after", "1"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        SimulatorProcess sim(args);
        ASSERT_TRUE(sim.Started()) << sim.Log();
        SaveTcpProfile(4, sim.Port(), timeoutMs);
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        std::uint8_t out28[28], out48[48];
        ASSERT_EQ(QelTeskOnline_5(s.Block(), 4, out28, out48, "", ""), 0) << c.options[0];

        std::vector<std::uint8_t> buffer(1000 * 2);
        const auto start = std::chrono::steady_clock::now();
        const int code = QelTeskMsg_91(s.Block(), 4, 9, 0, 0xFFFF, 1000, buffer.data());
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        EXPECT_TRUE(c.codes.count(code)) << c.options[0] << " gave " << code;
        // Well below the delay: the call gave up after its timeout.
        EXPECT_LT(elapsed.count(), timeoutMs * 2 + 700) << c.options[0];
        const std::string text = s.ErrorText(code);
        EXPECT_NE(text.find(c.text), std::string::npos) << text;
        EXPECT_NE(text.find("127.0.0.1:" + std::to_string(sim.Port())), std::string::npos) << text;
        EXPECT_EQ(QelTeskUserIF_14(s.Block()), 0);
    }
}

TEST(FaultTest, ABusyUnitAsksForAPauseAndASilentOneFailsIdentification)
{
    UseFreshSettingsFolder();
    {
        SimulatorProcess sim({"--model", "33", "--faults-after", "1", "--exception", "6"});
        ASSERT_TRUE(sim.Started());
        SaveTcpProfile(5, sim.Port(), 300);
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        std::uint8_t buffer[20];
        EXPECT_EQ(QelTeskMsg_92(s.Block(), 5, 9, 0, 0xFFFF, 10, buffer), 1106);
        EXPECT_EQ(s.Wait(), 500u);
        EXPECT_EQ(s.ErrorText(1106).rfind("The PLC is busy.", 0), 0u);
    }
    {
        SimulatorProcess sim({"--silent"});
        ASSERT_TRUE(sim.Started());
        SaveTcpProfile(5, sim.Port(), 200);
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        std::uint8_t out28[28], out48[48];
        EXPECT_EQ(QelTeskOnline_5(s.Block(), 5, out28, out48, "", ""), 1021);
    }
}

// A fault on one of a read's connections fails the whole read with that
// request's error; a lost one is replaced for the next. A write keeps to the
// session's own connection, so the fault on a further one never meets it and
// the read after it is the first to.
TEST(FaultTest, AFaultOnOneOfSeveralConnectionsFailsTheTransfer)
{
    UseFreshSettingsFolder();
    struct Row {
        std::vector<std::string> options;
        bool write;
        int code;
        int next; // of a read that follows: a lost connection is replaced, one that answers is kept
    };
    // The session's own connection is the first; the third is one of the
    // further ones, which lets its window select through and fails the next.
    const Row rows[] = {
        {{"--drop-after", "1"}, false, 1022, 0},
        {{"--drop-after", "1"}, true, 0, 1022},
        {{"--faults-after", "1", "--exception", "4"}, false, 1104, 1104},
        {{"--faults-after", "1", "--exception", "4"}, true, 0, 1104},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options[0] + (row.write ? " write" : " read"));
        std::vector<std::string> args{"--model", "1794", "--faults-on", "3"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        SimulatorProcess sim(args);
        ASSERT_TRUE(sim.Started()) << sim.Log();
        SaveTcpProfile(4, sim.Port(), 500, 4);
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        std::vector<std::uint8_t> buffer(400 * 125 * 2, 0x11);
        const int code = row.write ? QelTeskMsg_92(s.Block(), 4, 9, 0, 0xFFFF, 400 * 125, buffer.data())
                                   : QelTeskMsg_91(s.Block(), 4, 9, 0, 0xFFFF, 400 * 125, buffer.data());
        EXPECT_EQ(code, row.code) << s.ErrorText(code);
        if (code != 0) {
            EXPECT_NE(s.ErrorText(code).find("127.0.0.1:" + std::to_string(sim.Port())), std::string::npos);
        }
        EXPECT_EQ(QelTeskMsg_91(s.Block(), 4, 9, 0, 0xFFFF, 400 * 125, buffer.data()), row.next);
        EXPECT_EQ(QelTeskUserIF_14(s.Block()), 0);
    }
}
