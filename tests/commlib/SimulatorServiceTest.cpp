// The simulator as a network service: clients that misbehave beside one that
// does not, a connection limit, frames that do not add up, and a few hundred
// clients at once. The good client's wait is what each case checks.

#include "support/SimulatorProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numeric>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace commtest;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

namespace {

// Longer than any good request may take, even on a busy machine, and shorter
// than the second after which the simulator gives up on a stalled client: a
// server that waits for a stalled client before serving others goes over it.
constexpr long kGoodWaitMs = 750;

long MsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A client that speaks bytes, not Modbus.
class RawClient {
public:
    explicit RawClient(int port)
    {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (m_fd >= 0 && connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(m_fd);
            m_fd = -1;
        }
        if (m_fd >= 0) {
            const int yes = 1;
            setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        }
    }
    ~RawClient()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return m_fd >= 0; }

    // As much as the socket takes without waiting.
    std::size_t Send(const Bytes& bytes)
    {
        const ssize_t n = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }

    // Up to want bytes, waiting at most timeoutMs; closed tells whether the
    // far end closed the connection.
    Bytes Receive(std::size_t want, int timeoutMs, bool& closed)
    {
        Bytes got;
        closed = false;
        const auto start = Clock::now();
        while (got.size() < want) {
            const long left = std::max(0L, timeoutMs - MsSince(start));
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0)
                break;
            std::uint8_t buffer[512];
            const ssize_t n = recv(m_fd, buffer, std::min(sizeof buffer, want - got.size()), 0);
            if (n <= 0) {
                closed = true;
                break;
            }
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    // Whether the far end closes the connection within timeoutMs.
    bool ClosedWithin(int timeoutMs)
    {
        bool closed = false;
        Receive(1 << 20, timeoutMs, closed);
        return closed;
    }

private:
    int m_fd = -1;
};

// An MBAP frame: transaction id, protocol id, the length field (unit and PDU
// unless told otherwise), unit 1, the PDU.
Bytes Frame(std::uint16_t transaction, const Bytes& pdu, int protocol = 0, int length = -1)
{
    const int field = length >= 0 ? length : static_cast<int>(pdu.size()) + 1;
    Bytes frame = {static_cast<std::uint8_t>(transaction >> 8),
                   static_cast<std::uint8_t>(transaction & 0xFF),
                   static_cast<std::uint8_t>(protocol >> 8),
                   static_cast<std::uint8_t>(protocol & 0xFF),
                   static_cast<std::uint8_t>(field >> 8),
                   static_cast<std::uint8_t>(field & 0xFF),
                   1};
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

// Reads n registers from register address.
Bytes ReadPdu(std::uint16_t address, std::uint16_t n)
{
    return {3, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF),
            static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n & 0xFF)};
}

// A good client's write of value to register address and its read back, as
// raw frames (libmodbus waits with select, which cannot watch descriptors
// past 1023); the time it took, or -1 when an answer did not come within
// timeoutMs or was not the right one.
long RoundTripMs(RawClient& client, std::uint16_t address, std::uint16_t value, int timeoutMs = 2000)
{
    const auto start = Clock::now();
    const std::uint8_t a[2] = {static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF)};
    const std::uint8_t v[2] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
    const Bytes write = Frame(0x0506, {6, a[0], a[1], v[0], v[1]});
    const Bytes read = Frame(0x0507, ReadPdu(address, 1));
    const Bytes readBack = Frame(0x0507, {3, 2, v[0], v[1]});
    bool closed = false;
    for (const auto& [request, answer] : {std::pair{write, write}, std::pair{read, readBack}})
        if (client.Send(request) != request.size() || client.Receive(answer.size(), timeoutMs, closed) != answer)
            return -1;
    return MsSince(start);
}

// The slowest of a few round trips of a client that connects afresh, the
// connection included; -1 when one failed.
long GoodClientWorstMs(int port, int rounds = 5, int pauseMs = 150)
{
    const auto start = Clock::now();
    RawClient client(port);
    long worst = client.Connected() ? MsSince(start) : -1;
    for (int r = 0; r < rounds && worst >= 0; ++r) {
        const long ms = RoundTripMs(client, static_cast<std::uint16_t>(100 + r), static_cast<std::uint16_t>(4000 + r));
        worst = ms < 0 ? -1 : std::max(worst, ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
    return worst;
}

// Waits up to timeoutMs for the simulator's log to hold text.
bool LogShows(const SimulatorProcess& sim, const std::string& text, int timeoutMs)
{
    const auto start = Clock::now();
    while (sim.Log().find(text) == std::string::npos) {
        if (MsSince(start) > timeoutMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Processor time the process has used, in milliseconds.
long CpuMs(int pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    long ticks = 0;
    for (int i = 1; i <= 15 && in >> field; ++i)
        if (i == 14 || i == 15)
            ticks += std::stol(field);
    return ticks * 1000 / sysconf(_SC_CLK_TCK);
}

// Something a hostile client keeps doing in a thread of its own until stopped.
struct Hostility {
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    std::vector<std::unique_ptr<RawClient>> clients;
    ~Hostility()
    {
        stop = true;
        for (std::thread& t : threads)
            t.join();
    }
    void Sleep(int ms) const
    {
        for (int i = 0; i < ms / 10 && !stop; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
};

} // namespace

// Each row misbehaves while a good client makes its round trips; the good
// client never waits for the bad one, and the bad one is closed in the end.
TEST(SimulatorTest, AClientThatStallsDelaysNobodyElseAndIsClosedAfterItsOwnTimeout)
{
    const std::string file =
        std::filesystem::temp_directory_path() / ("plcsim-stall-" + std::to_string(getpid()) + ".ldtx");
    SimulatorProcess sim({"--model", "1792", "--save", file});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    const int port = sim.Port();

    struct Row {
        const char* what;
        std::function<void(Hostility&)> start;
        const char* closedAs;
    };
    const Row rows[] = {
        {"thirty connections holding one byte each",
         [port](Hostility& h) {
             for (int i = 0; i < 30; ++i) {
                 h.clients.push_back(std::make_unique<RawClient>(port));
                 h.clients.back()->Send({0x00});
             }
         },
         "timed out in the middle of a request"},
        {"a request sent one byte every 0.9 s",
         [port](Hostility& h) {
             h.threads.emplace_back([port, &h] {
                 RawClient c(port);
                 for (std::uint8_t b : Frame(7, ReadPdu(0, 10))) {
                     if (h.stop || c.Send({b}) == 0)
                         return;
                     h.Sleep(900);
                 }
             });
         },
         "timed out in the middle of a request"},
        {"requests sent, answers never read",
         [port](Hostility& h) {
             h.threads.emplace_back([port, &h] {
                 RawClient c(port);
                 Bytes burst;
                 for (int i = 0; i < 200; ++i) {
                     const Bytes f = Frame(static_cast<std::uint16_t>(i), ReadPdu(0, 125));
                     burst.insert(burst.end(), f.begin(), f.end());
                 }
                 while (!h.stop) {
                     c.Send(burst);
                     h.Sleep(10);
                 }
             });
         },
         "timed out leaving its answer unread"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Hostility h;
        row.start(h);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const long worst = GoodClientWorstMs(port);
        EXPECT_GE(worst, 0) << "a good request failed";
        EXPECT_LT(worst, kGoodWaitMs);
        EXPECT_TRUE(LogShows(sim, row.closedAs, 4000)) << sim.Log();
    }

    // SIGTERM in the middle of all that still stops it at once, and it saves.
    Hostility h;
    rows[0].start(h);
    rows[2].start(h);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = Clock::now();
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
}

// Beyond the limit a client is turned away at once; when connections close,
// others are served again. The limit also keeps below the descriptors the
// process may open, and past the limit of select.
TEST(SimulatorTest, ClientsBeyondTheConnectionLimitAreTurnedAwayAtOnceAndServingResumes)
{
    struct Row {
        const char* what;
        std::string program;
        std::vector<std::string> args;
        int limit;
    };
    const std::string sim = BinDir() + "/memorix-plcsim";
    const Row rows[] = {
        {"an explicit limit", sim, {"--max-connections", "20"}, 20},
        {"more connections than select can watch", sim, {"--max-connections", "1100"}, 1100},
        {"the descriptors of the process", "/usr/bin/prlimit", {"--nofile=64", sim, "--port", "0"}, 64 - 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SimulatorProcess process(row.program, row.args);
        ASSERT_TRUE(process.Started()) << process.Log();
        const int port = process.Port();
        std::vector<std::unique_ptr<RawClient>> idle;
        for (int i = 0; i < row.limit - 1; ++i) {
            idle.push_back(std::make_unique<RawClient>(port));
            ASSERT_TRUE(idle.back()->Connected());
        }
        // The last place goes to a good client; the next one is turned away at once.
        RawClient good(port);
        EXPECT_GE(RoundTripMs(good, 5, 55), 0);
        const long cpuBefore = CpuMs(process.Pid());
        for (int i = 0; i < 20; ++i) {
            RawClient turnedAway(port);
            const auto start = Clock::now();
            EXPECT_TRUE(turnedAway.ClosedWithin(2000));
            EXPECT_LT(MsSince(start), kGoodWaitMs);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_LT(CpuMs(process.Pid()) - cpuBefore, 300) << "it must not spin while full";
        EXPECT_GE(RoundTripMs(good, 6, 66), 0) << "those inside are still served";

        idle.resize(idle.size() - 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const long worst = GoodClientWorstMs(port, 2, 0);
        EXPECT_GE(worst, 0) << "a place came free";
        EXPECT_LT(worst, kGoodWaitMs);
        EXPECT_EQ(process.Stop(), 0);
        EXPECT_NE(process.Log().find("refused"), std::string::npos) << process.Log();
    }
}

// Frames whose lengths do not add up close the connection; any function the
// simulator does not serve gets exception 1 and the stream stays in step,
// which the read that follows on the same connection shows.
TEST(SimulatorTest, MalformedFramesCloseTheConnectionAndUnknownFunctionsGetExceptionOne)
{
    SimulatorProcess sim({"--model", "32"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    const Bytes closed; // the connection is closed without an answer
    struct Row {
        const char* what;
        Bytes sent;
        Bytes answer; // the answer's PDU
    };
    const Row rows[] = {
        {"protocol id 1", Frame(1, ReadPdu(0, 1), 1), closed},
        {"length one byte short", Frame(1, ReadPdu(0, 1), 0, 5), closed},
        {"length one byte long", Frame(1, ReadPdu(0, 1), 0, 7), closed},
        {"length 0", Frame(1, {}, 0, 0), closed},
        {"length past any PDU", Frame(1, ReadPdu(0, 1), 0, 300), closed},
        {"write whose byte count disagrees", Frame(1, {16, 0, 0, 0, 1, 4, 0, 1}), closed},
        {"read coils", Frame(1, {1, 0, 0, 0, 8}), {0x81, 1}},
        {"read input registers", Frame(1, {4, 0, 0, 0, 1}), {0x84, 1}},
        {"unknown function with a body", Frame(1, {0x41, 1, 2, 3, 4, 5, 6, 7, 8, 9}), {0xC1, 1}},
        {"device identification", Frame(1, {0x2B, 0x0E, 1, 0}), {0xAB, 1}},
        {"function without a body", Frame(1, {0x11}), {0x91, 1}},
        {"function 0", Frame(1, {0, 1, 2}), {0x80, 1}},
        {"function at or above 0x80", Frame(1, {0x83, 0, 0, 0, 1}), {0x83, 1}},
        {"read of no registers", Frame(1, ReadPdu(0, 0)), {0x83, 3}},
        {"read of 126 registers", Frame(1, ReadPdu(0, 126)), {0x83, 3}},
        {"write whose count and byte count disagree", Frame(1, {16, 0, 0, 0, 2, 2, 0, 1}), {0x90, 3}},
        {"read past the memory", Frame(1, ReadPdu(4095, 2)), {0x83, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RawClient c(sim.Port());
        ASSERT_TRUE(c.Connected());
        // The request and, in the same segment, a good read right after it.
        Bytes both = row.sent;
        const Bytes next = Frame(0x0102, ReadPdu(4095, 1));
        both.insert(both.end(), next.begin(), next.end());
        ASSERT_EQ(c.Send(both), both.size());
        bool isClosed = false;
        if (row.answer.empty()) {
            const Bytes got = c.Receive(1, 3000, isClosed);
            EXPECT_TRUE(isClosed) << "answered " << got.size() << " bytes";
            EXPECT_TRUE(got.empty());
            continue;
        }
        const Bytes expected = Frame(1, row.answer);
        EXPECT_EQ(c.Receive(expected.size(), 2000, isClosed), expected);
        const Bytes following = Frame(0x0102, {3, 2, 0, 0});
        EXPECT_EQ(c.Receive(following.size(), 2000, isClosed), following) << "out of step after it";
        EXPECT_FALSE(isClosed);
    }
    EXPECT_TRUE(LogShows(sim, "malformed", 0));
    EXPECT_EQ(sim.Stop(), 0);
}

// A few hundred connections for a few seconds: clients that hold bytes,
// trickle, flood without reading, send broken frames, or just sit there,
// beside good clients that write and read back. Every good request must be
// answered within its timeout.
TEST(SimulatorTest, AFewHundredClientsSomeHostileEveryGoodRequestAnsweredInTime)
{
    SimulatorProcess sim({"--model", "1792", "--max-connections", "600"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    const int port = sim.Port();
    constexpr int kGoodClients = 24;
    constexpr int kEachHostile = 50;
    constexpr auto kRun = std::chrono::milliseconds(3000);
    constexpr int kTimeoutMs = 1500;

    // One thread drives every hostile connection, reconnecting those the
    // simulator closes.
    std::atomic<bool> stop{false};
    std::atomic<long> hostileConnections{0};
    std::thread hostile([&] {
        enum Kind { Holder, Trickler, Flooder, Breaker, Sitter, Kinds };
        struct Conn {
            Kind kind;
            std::unique_ptr<RawClient> client;
            std::size_t at = 0;
        };
        std::vector<Conn> conns;
        for (int k = 0; k < Kinds; ++k)
            for (int i = 0; i < kEachHostile; ++i)
                conns.push_back({static_cast<Kind>(k), nullptr, 0});
        Bytes flood;
        for (int i = 0; i < 50; ++i) {
            const Bytes f = Frame(static_cast<std::uint16_t>(i), ReadPdu(0, 125));
            flood.insert(flood.end(), f.begin(), f.end());
        }
        const Bytes trickle = Frame(9, ReadPdu(0, 10));
        const Bytes broken = Frame(9, ReadPdu(0, 10), 3);
        for (int tick = 0; !stop; ++tick) {
            for (Conn& c : conns) {
                bool closed = false;
                if (c.client && c.kind != Flooder && c.kind != Sitter) {
                    c.client->Receive(4096, 0, closed);
                    if (closed)
                        c.client.reset();
                }
                if (!c.client) {
                    c.client = std::make_unique<RawClient>(port);
                    c.at = 0;
                    ++hostileConnections;
                }
                switch (c.kind) {
                case Holder:
                    if (c.at++ == 0)
                        c.client->Send({0, 1, 0});
                    break;
                case Trickler:
                    if (tick % 5 == 0)
                        c.client->Send({trickle[c.at++ % trickle.size()]});
                    break;
                case Flooder:
                    if (c.client->Send(flood) == 0 && ++c.at > 50)
                        c.client.reset(); // closed by the simulator, or stuck for good
                    break;
                case Breaker: c.client->Send(broken); break;
                case Sitter:
                case Kinds: break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });

    std::atomic<long> answered{0}, failed{0}, worst{0};
    std::vector<std::thread> good;
    for (int g = 0; g < kGoodClients; ++g)
        good.emplace_back([&, g] {
            const auto end = Clock::now() + kRun;
            std::this_thread::sleep_for(std::chrono::milliseconds(g * 20));
            while (Clock::now() < end) {
                const auto start = Clock::now();
                RawClient client(port);
                for (int r = 0; r < 10 && Clock::now() < end; ++r) {
                    long ms = RoundTripMs(client, static_cast<std::uint16_t>(200 + g),
                                          static_cast<std::uint16_t>(g * 100 + r), kTimeoutMs);
                    if (ms < 0) {
                        ++failed;
                        break;
                    }
                    if (r == 0)
                        ms = MsSince(start); // the connection with it
                    ++answered;
                    long seen = worst;
                    while (ms > seen && !worst.compare_exchange_weak(seen, ms)) {
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(30));
                }
            }
        });
    for (std::thread& t : good)
        t.join();
    stop = true;
    hostile.join();

    std::printf("%ld good round trips, the slowest %ld ms; %ld hostile connections\n", answered.load(), worst.load(),
                hostileConnections.load());
    EXPECT_EQ(failed, 0);
    EXPECT_GT(answered, kGoodClients * 10);
    EXPECT_LT(worst, kTimeoutMs) << "the slowest good round trip, in milliseconds";
    EXPECT_GT(hostileConnections, 5 * kEachHostile);
    EXPECT_EQ(sim.Stop(), 0);
}

// A delay holds back each connection's own answers only: connections asking
// at once are answered together after one delay, and with the delay on one
// connection, another is answered at once while it waits.
TEST(SimulatorTest, ADelayHoldsBackOnlyTheAnswersOfItsOwnConnection)
{
    constexpr long kDelayMs = 300;
    struct Row {
        const char* what;
        std::vector<std::string> options;
        std::vector<bool> delayed; // per client, in the order they connect
    };
    const Row rows[] = {
        {"every connection", {"--delay", "300"}, {true, true, true, true}},
        {"the first connection only", {"--delay", "300", "--faults-on", "1"}, {true, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SimulatorProcess sim(row.options);
        ASSERT_TRUE(sim.Started()) << sim.Log();
        std::vector<std::unique_ptr<RawClient>> clients;
        for (std::size_t i = 0; i < row.delayed.size(); ++i) {
            clients.push_back(std::make_unique<RawClient>(sim.Port()));
            ASSERT_TRUE(clients.back()->Connected());
            // Each is served in the order it connected, before the next one connects.
            ASSERT_TRUE(LogShows(sim, "connection from", 2000));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const auto start = Clock::now();
        for (auto& client : clients)
            ASSERT_EQ(client->Send(Frame(9, ReadPdu(0, 4))), 12u);
        // Those without delay first, so that waiting for one does not count against the next.
        std::vector<std::size_t> order(clients.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_partition(order.begin(), order.end(), [&](std::size_t i) { return !row.delayed[i]; });
        for (std::size_t i : order) {
            bool closed = false;
            EXPECT_EQ(clients[i]->Receive(9 + 8, 3000, closed).size(), 17u) << i;
            const long ms = MsSince(start);
            if (row.delayed[i]) {
                EXPECT_GE(ms, kDelayMs - 10) << i;
                EXPECT_LT(ms, 2 * kDelayMs) << i << ": it waited for another connection's delay";
            } else {
                EXPECT_LT(ms, kDelayMs / 2) << i;
            }
        }
    }
}
