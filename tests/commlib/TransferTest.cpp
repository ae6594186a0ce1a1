// The libraries against the simulator over Modbus TCP: identification and
// every device and bank of a model of each protocol family, written through
// one family's calls and read back through both.

#include "support/CommSession.h"
#include "support/SimulatorProcess.h"

#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

using namespace commtest;

namespace {

struct Device {
    const char* name;
    std::uint32_t code;
    std::uint32_t addresses;
    int words;
    int banks;
};

// The catalogue's MB-64F8 (id 35, 16-bit CPU, FL in 8 banks) and CA-500L
// (id 1794, DT of 524,288 addresses), as the protocol numbers them.
const Device kMb64F8[] = {{"WR", 31, 512, 1, 0}, {"WL", 30, 128, 1, 0},   {"DT", 9, 16384, 1, 0},
                          {"LD", 6, 256, 1, 0},  {"FL", 10, 32768, 1, 8}, {"TS", 4, 1024, 1, 0},
                          {"TE", 5, 1024, 1, 0}, {"CS", 43, 256, 1, 0},   {"CE", 44, 256, 1, 0}};
const Device kCa500L[] = {{"WR", 31, 2048, 1, 0}, {"WL", 30, 1024, 1, 0},   {"DT", 9, 524288, 1, 0},
                          {"LD", 6, 32768, 1, 0}, {"FL", 10, 262144, 1, 0}, {"TS", 4, 4096, 2, 0},
                          {"TE", 5, 4096, 2, 0},  {"CS", 43, 4096, 2, 0},   {"CE", 44, 4096, 2, 0}};

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override { UseFreshSettingsFolder(); }
};

} // namespace

TEST_F(TransferTest, FamilyZeroModelRoundTripsEveryDeviceAndBank)
{
    SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(3, sim.Port());
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);

    std::uint8_t out28[28] = {}, out48[48] = {};
    char name[comm::kConnectionNameSize] = "Test 3", app[comm::kAppNameSize] = "Memorix";
    ASSERT_EQ(QelTeskOnline_5(s.Block(), 3, out28, out48, name, app), 0) << s.ErrorText(1);
    EXPECT_EQ(s.block[comm::kBlockProtocolOffset], 0);
    std::uint8_t model[28] = {};
    ASSERT_EQ(QelTeskOnline_3(s.Block(), 3, model), 0);
    EXPECT_EQ(model[0], 35);

    // Each device and bank gets its own pattern, so a map that lets two of
    // them share registers shows up when they are read back.
    for (const Device& d : kMb64F8)
        for (int bank = 0; bank < std::max(d.banks, 1); ++bank) {
            auto data = Pattern(std::size_t{d.addresses} * d.words * 2, d.code * 16 + bank);
            const std::uint16_t bankArg = d.banks ? bank : 0xFFFF;
            ASSERT_EQ(QelTeskMsg_92(s.Block(), 3, d.code, 0, bankArg, d.addresses, data.data()), 0)
                << d.name << " bank " << bank << ": "
                << s.ErrorText(QelTeskMsg_92(s.Block(), 3, d.code, 0, bankArg, d.addresses, data.data()));
        }
    for (const Device& d : kMb64F8)
        for (int bank = 0; bank < std::max(d.banks, 1); ++bank) {
            int result = -1;
            const auto read = s.Read91(3, d.code, 0, d.banks ? bank : 0xFFFF, d.addresses, d.words, result);
            ASSERT_EQ(result, 0) << d.name;
            EXPECT_EQ(read, Pattern(read.size(), d.code * 16 + bank)) << d.name << " bank " << bank;
        }

    // A range in the middle of a bank, and the last address of the last bank.
    int result = -1;
    auto middle = s.Read91(3, 10, 1000, 7, 300, 1, result);
    ASSERT_EQ(result, 0);
    const auto bank7 = Pattern(32768 * 2, 10 * 16 + 7);
    EXPECT_TRUE(std::equal(middle.begin(), middle.end(), bank7.begin() + 2000));
    auto last = s.Read91(3, 10, 32767, 7, 1, 1, result);
    ASSERT_EQ(result, 0);
    EXPECT_TRUE(std::equal(last.begin(), last.end(), bank7.end() - 2));

    char text[comm::kErrorTextSize] = {};
    ASSERT_EQ(QelTeskMsg_37(s.Block(), 3, app, text), 0);
    EXPECT_EQ(std::string(text),
              "Test 3: Modbus TCP 127.0.0.1:" + std::to_string(sim.Port()) + ", unit 1, timeout 1000 ms");
    EXPECT_EQ(QelTeskUserIF_14(s.Block()), 0);
}

TEST_F(TransferTest, FamilyOneModelRoundTripsEveryDeviceIncludingTheLargestDataRegisters)
{
    SimulatorProcess sim({"--model", "1794"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(1, sim.Port());
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);

    std::uint8_t out28[28] = {}, out48[48] = {};
    ASSERT_EQ(QelTeskOnline_5(s.Block(), 1, out28, out48, "", "Memorix"), 0);
    EXPECT_EQ(s.block[comm::kBlockProtocolOffset], 1);
    std::uint8_t type[48] = {};
    ASSERT_EQ(QelTesktocol7_1(s.Block(), 1, type, 0), 0);
    std::uint16_t high = 0, low = 0;
    std::memcpy(&high, type + 2, 2);
    std::memcpy(&low, type + 4, 2);
    EXPECT_EQ(high, 7);
    EXPECT_EQ(low, 2);

    for (const Device& d : kCa500L) {
        auto list = Descriptors(d.code, 0, d.addresses, d.words * 2);
        auto data = Pattern(std::size_t{d.addresses} * d.words * 2, d.code);
        ASSERT_EQ(QelTesktocol7_8(s.Block(), 1, 1, static_cast<int>(d.addresses), list.data(), data.data()), 0)
            << d.name;
    }
    for (const Device& d : kCa500L) {
        auto list = Descriptors(d.code, 0, d.addresses, d.words * 2);
        std::vector<std::uint8_t> read(std::size_t{d.addresses} * d.words * 2);
        ASSERT_EQ(QelTesktocol7_7(s.Block(), 1, 1, static_cast<int>(d.addresses), list.data(), read.data()), 0)
            << d.name;
        EXPECT_EQ(read, Pattern(read.size(), d.code)) << d.name;
    }

    // First and last address of DT in one call, and the last one through the range call too.
    const auto dt = Pattern(524288 * 2, 9);
    std::vector<comm::_dev2_7> ends = Descriptors(9, 0, 2, 2);
    ends[1].address = 524287;
    std::uint8_t two[4] = {};
    ASSERT_EQ(QelTesktocol7_7(s.Block(), 1, 1, 2, ends.data(), two), 0);
    EXPECT_EQ(two[0], dt[0]);
    EXPECT_EQ(two[1], dt[1]);
    EXPECT_EQ(two[2], dt[dt.size() - 2]);
    EXPECT_EQ(two[3], dt[dt.size() - 1]);
    int result = -1;
    const auto tail = s.Read91(1, 9, 524287 - 199, 0xFFFF, 200, 1, result);
    ASSERT_EQ(result, 0);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), dt.end() - 400));
}

TEST_F(TransferTest, RequestsOutsideTheUnitFailWithTextsAndLeaveTheSessionUsable)
{
    SimulatorProcess sim({"--model", "1794"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(0, sim.Port());
    CommSession s;
    std::uint8_t buffer[8] = {};

    // Not initialised, then not online.
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 0, 9, 0, 0xFFFF, 1, buffer), 1001);
    char app[comm::kAppNameSize] = "Memorix";
    ASSERT_EQ(QelTeskUserIF_41(s.Block(), app), 0);
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 0, 9, 0, 0xFFFF, 1, buffer), 1002);
    EXPECT_EQ(s.ErrorText(1002), "Not online. Go online before talking to the PLC.");
    ASSERT_EQ(QelTeskUserIF_8(nullptr, s.Block()), 0);

    // One past the last DT address; an unknown device; a bank of an unbanked device; a wrong size.
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 0, 9, 524287, 0xFFFF, 2, buffer), 1041);
    EXPECT_NE(s.ErrorText(1041).find("DT 524287..524288"), std::string::npos) << s.ErrorText(1041);
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 0, 77, 0, 0xFFFF, 1, buffer), 1040);
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 0, 10, 0, 2, 1, buffer), 1041);
    auto list = Descriptors(4, 0, 1, 2); // TS has 4 bytes per address on this model
    EXPECT_EQ(QelTesktocol7_7(s.Block(), 0, 1, 1, list.data(), buffer), 1042);
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 9, 9, 0, 0xFFFF, 1, buffer), 1010);

    // Still usable after all of that.
    EXPECT_EQ(QelTeskMsg_91(s.Block(), 0, 9, 524286, 0xFFFF, 2, buffer), 0);
    EXPECT_EQ(s.Wait(), 0u);
}

TEST_F(TransferTest, RangesAndAddressesTravelInFullSizeRequests)
{
    SimulatorProcess sim({"--model", "33"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(0, sim.Port(), 1000, 1); // one connection, so that its log line counts every request
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);
    std::uint8_t out28[28], out48[48];
    ASSERT_EQ(QelTeskOnline_5(s.Block(), 0, out28, out48, "", ""), 0); // 1 request: the identity
    std::vector<std::uint8_t> buffer(2000);
    ASSERT_EQ(QelTeskMsg_91(s.Block(), 0, 9, 0, 0xFFFF, 1000, buffer.data()), 0); // window select + 8 reads
    ASSERT_EQ(QelTeskMsg_92(s.Block(), 0, 9, 0, 0xFFFF, 1000, buffer.data()), 0); // 9 writes
    auto list = Descriptors(9, 0, 1000, 2);
    ASSERT_EQ(QelTesktocol7_7(s.Block(), 0, 1, 1000, list.data(), buffer.data()), 0); // 8 reads
    ASSERT_EQ(QelTeskUserIF_14(s.Block()), 0);
    sim.Stop();
    EXPECT_NE(sim.Log().find(" after 27 requests"), std::string::npos) << sim.Log();
}

TEST_F(TransferTest, NobodyListeningIsAConnectFailureNamingTheAddress)
{
    int port = 0;
    {
        SimulatorProcess sim({});
        ASSERT_TRUE(sim.Started());
        port = sim.Port();
    }
    SaveTcpProfile(2, port);
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);
    std::uint8_t out28[28], out48[48];
    EXPECT_EQ(QelTeskOnline_5(s.Block(), 2, out28, out48, "", ""), 1020);
    EXPECT_NE(s.ErrorText(1020).find("127.0.0.1:" + std::to_string(port)), std::string::npos);
}

namespace {

// Every register of the range its own value, so that a request's words put
// anywhere but their place show.
std::vector<std::uint8_t> Numbered(std::uint32_t first, std::uint32_t count, std::uint16_t seed)
{
    std::vector<std::uint8_t> bytes(2 * std::size_t{count});
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto word = static_cast<std::uint16_t>((first + i) ^ seed);
        bytes[2 * i] = static_cast<std::uint8_t>(word & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return bytes;
}

std::vector<std::string>& LogLines()
{
    static std::vector<std::string> lines;
    return lines;
}

void KeepLogLine(QtMsgType, const QMessageLogContext&, const QString& text)
{
    LogLines().push_back(text.toStdString());
}

struct ProgressSeen {
    std::vector<std::uint32_t> done;
    std::uint32_t total = 0;
    std::thread::id thread;
    bool otherThread = false;
    static void Record(void* context, std::uint32_t wordsDone, std::uint32_t wordsTotal)
    {
        auto* seen = static_cast<ProgressSeen*>(context);
        seen->done.push_back(wordsDone);
        seen->total = wordsTotal;
        seen->otherThread |= std::this_thread::get_id() != seen->thread;
    }
};

} // namespace

// A range across a window boundary goes out over several connections and
// comes back in its place: what one connection wrote, the others read, and
// the other way round; a unit that takes fewer connections is used with
// those it takes.
TEST_F(TransferTest, RequestsInFlightOnSeveralConnectionsLandInTheirPlaces)
{
    struct Row {
        const char* what;
        std::vector<std::string> options;
        int parallel;
        const char* logged; // the library's note, or null for none
    };
    const Row rows[] = {
        {"four connections", {}, 4, nullptr},
        {"eight connections, answers delayed", {"--delay", "2"}, 8, nullptr},
        // The single-connection session holds the third place.
        {"a unit that takes two more", {"--max-connections", "3"}, 4, "the unit accepted 2 of 4 connections"},
        {"one connection", {}, 1, nullptr},
    };
    constexpr std::uint32_t kFirst = 30000, kCount = 6000; // DT 30000-35999, over the window at 32768
    const QtMessageHandler previous = qInstallMessageHandler(KeepLogLine);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LogLines().clear();
        std::vector<std::string> args{"--model", "1794"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        SimulatorProcess sim(args);
        ASSERT_TRUE(sim.Started()) << sim.Log();
        SaveTcpProfile(1, sim.Port(), 1000, row.parallel);
        SaveTcpProfile(2, sim.Port(), 1000, 1);
        CommSession s, single;
        ASSERT_EQ(s.GoOnline(), 0);
        ASSERT_EQ(single.GoOnline(), 0);

        // Written on one connection, read on several, through both families' calls.
        auto data = Numbered(kFirst, kCount, 0x5A5A);
        ASSERT_EQ(QelTeskMsg_92(single.Block(), 2, 9, kFirst, 0xFFFF, kCount, data.data()), 0);
        ProgressSeen seen;
        seen.thread = std::this_thread::get_id();
        ASSERT_EQ(QelTeskMsg_SetProgress(s.Block(), &ProgressSeen::Record, &seen), 0);
        int result = -1;
        EXPECT_EQ(s.Read91(1, 9, kFirst, 0xFFFF, kCount, 1, result), data);
        ASSERT_EQ(result, 0) << s.ErrorText(result);
        ASSERT_EQ(QelTeskMsg_SetProgress(s.Block(), nullptr, nullptr), 0);
        auto list = Descriptors(9, kFirst, kCount, 2);
        std::vector<std::uint8_t> read(data.size());
        ASSERT_EQ(QelTesktocol7_7(s.Block(), 1, 1, static_cast<int>(kCount), list.data(), read.data()), 0);
        EXPECT_EQ(read, data);

        // Progress came on the caller's thread, growing, up to the whole call.
        ASSERT_FALSE(seen.done.empty());
        EXPECT_FALSE(seen.otherThread);
        EXPECT_TRUE(std::is_sorted(seen.done.begin(), seen.done.end()));
        EXPECT_EQ(std::adjacent_find(seen.done.begin(), seen.done.end()), seen.done.end());
        EXPECT_EQ(seen.done.back(), kCount);
        EXPECT_EQ(seen.total, kCount);

        // Written on several, read on one.
        data = Numbered(kFirst, kCount, 0x0F0F);
        ASSERT_EQ(QelTeskMsg_92(s.Block(), 1, 9, kFirst, 0xFFFF, kCount, data.data()), 0);
        EXPECT_EQ(single.Read91(2, 9, kFirst, 0xFFFF, kCount, 1, result), data);
        EXPECT_EQ(result, 0);

        const bool noted = std::any_of(LogLines().begin(), LogLines().end(), [&](const std::string& line) {
            return line.find("accepted") != std::string::npos;
        });
        if (row.logged) {
            EXPECT_TRUE(std::any_of(LogLines().begin(), LogLines().end(), [&](const std::string& line) {
                return line.find(row.logged) != std::string::npos;
            }));
        } else {
            EXPECT_FALSE(noted);
        }
        EXPECT_EQ(QelTeskUserIF_14(s.Block()), 0);
    }
    qInstallMessageHandler(previous);
}

// Cancelled from another thread at the start, in the middle and near the
// end, a transfer stops with its own code; a cancel with no transfer running
// is dropped, and the next transfer runs whole.
TEST_F(TransferTest, ACancelFromAnotherThreadStopsTheRunningTransferOnly)
{
    SimulatorProcess sim({"--model", "1794", "--delay", "5"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(1, sim.Port());
    CommSession s;
    ASSERT_EQ(s.GoOnline(), 0);
    EXPECT_EQ(QelTeskMsg_Cancel(s.Block() + 1), 1001);
    EXPECT_EQ(QelTeskMsg_Cancel(s.Block()), 1); // nothing runs: dropped
    constexpr std::uint32_t kCount = 100 * 125;
    auto data = Numbered(0, kCount, 0x1234);
    ASSERT_EQ(QelTeskMsg_92(s.Block(), 1, 9, 0, 0xFFFF, kCount, data.data()), 0) << s.ErrorText(1);

    struct Row {
        const char* what;
        double at; // share of the words done before the cancel; 0: as soon as the transfer runs
        bool write;
    };
    const Row rows[] = {
        {"read, at the start", 0.0, false},
        {"read, in the middle", 0.5, false},
        {"read, near the end", 0.85, false},
        {"write, in the middle", 0.5, true},
    };
    struct Canceller {
        double at;
        std::uint8_t* block;
        int result = -1;
        std::chrono::steady_clock::time_point when;
        static void Progress(void* context, std::uint32_t done, std::uint32_t total)
        {
            auto* c = static_cast<Canceller*>(context);
            if (c->result != -1 || c->at <= 0 || done < c->at * total)
                return;
            // From a thread of its own while this one is in the transfer.
            std::thread([c] {
                c->when = std::chrono::steady_clock::now();
                c->result = QelTeskMsg_Cancel(c->block);
            }).join();
        }
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Canceller c{row.at, s.Block(), -1, {}};
        ASSERT_EQ(QelTeskMsg_SetProgress(s.Block(), &Canceller::Progress, &c), 0);
        std::thread early;
        if (row.at <= 0)
            early = std::thread([&c] {
                while ((c.result = QelTeskMsg_Cancel(c.block)) != 0)
                    std::this_thread::yield();
                c.when = std::chrono::steady_clock::now();
            });
        std::vector<std::uint8_t> buffer(data.size());
        if (row.write)
            buffer = Numbered(0, kCount, 0x4321);
        const int code = row.write ? QelTeskMsg_92(s.Block(), 1, 9, 0, 0xFFFF, kCount, buffer.data())
                                   : QelTeskMsg_91(s.Block(), 1, 9, 0, 0xFFFF, kCount, buffer.data());
        const auto returned = std::chrono::steady_clock::now();
        if (early.joinable())
            early.join();
        EXPECT_EQ(c.result, 0) << "the transfer was running";
        EXPECT_EQ(code, 1092);
        EXPECT_EQ(s.ErrorText(code).rfind("Cancelled by the user.", 0), 0u) << s.ErrorText(code);
        // Only the requests already on their way were waited for.
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(returned - c.when).count(), 200);

        ASSERT_EQ(QelTeskMsg_SetProgress(s.Block(), nullptr, nullptr), 0);
        EXPECT_EQ(QelTeskMsg_Cancel(s.Block()), 1);
        if (row.write) { // the next transfer runs whole: the interrupted write completed
            ASSERT_EQ(QelTeskMsg_92(s.Block(), 1, 9, 0, 0xFFFF, kCount, data.data()), 0);
        }
        int result = -1;
        EXPECT_EQ(s.Read91(1, 9, 0, 0xFFFF, kCount, 1, result), data);
        EXPECT_EQ(result, 0) << s.ErrorText(result);
    }
}
