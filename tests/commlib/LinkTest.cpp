// The link against units of the test's own that answer as each case says:
// out of turn, from another unit, in a frame that lies about its length, one
// byte at a time, or too late on a serial line.

#include "commlib/core/CommErrors.h"
#include "commlib/core/ModbusLink.h"

#include "support/PtyPair.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace commlib;
using Bytes = std::vector<std::uint8_t>;

namespace {

using Clock = std::chrono::steady_clock;

bool ReadFully(int fd, std::uint8_t* bytes, std::size_t n, const std::atomic<bool>& stop)
{
    std::size_t got = 0;
    while (got < n && !stop) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t r = ::read(fd, bytes + got, n - got);
        if (r <= 0)
            return false;
        got += static_cast<std::size_t>(r);
    }
    return got == n;
}

unsigned Big16(const std::uint8_t* b)
{
    return (unsigned{b[0]} << 8) | b[1];
}

void Put16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

// The answer PDU to a read: register n holds its own address.
Bytes ReadPdu(const std::uint8_t* request)
{
    const unsigned first = Big16(request + 1), count = Big16(request + 3);
    Bytes pdu{0x03, static_cast<std::uint8_t>(2 * count)};
    for (unsigned i = 0; i < count; ++i)
        Put16(pdu, first + i);
    return pdu;
}

// A TCP frame; length: the MBAP length when not the true one.
Bytes Mbap(unsigned transaction, unsigned protocol, unsigned unit, const Bytes& pdu, unsigned length = 0)
{
    Bytes out;
    Put16(out, transaction);
    Put16(out, protocol);
    Put16(out, length ? length : static_cast<unsigned>(pdu.size() + 1));
    out.push_back(static_cast<std::uint8_t>(unit));
    out.insert(out.end(), pdu.begin(), pdu.end());
    return out;
}

// A Modbus TCP unit on 127.0.0.1 that serves one connection: each request
// (MBAP header and PDU) goes to the script, which writes what it likes.
class ScriptedUnit {
public:
    using Script = std::function<void(int fd, const Bytes& request, const std::atomic<bool>& stop)>;

    explicit ScriptedUnit(Script script)
    {
        m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(m_listen, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(m_listen, 1) != 0
            || getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, script = std::move(script)] {
            pollfd p{m_listen, POLLIN, 0};
            while (!m_stop && poll(&p, 1, 50) <= 0) {
            }
            if (m_stop)
                return;
            const int fd = accept(m_listen, nullptr, nullptr);
            std::uint8_t header[7];
            while (fd >= 0 && ReadFully(fd, header, sizeof header, m_stop)) {
                Bytes request(header, header + 7);
                request.resize(6 + Big16(header + 4));
                if (!ReadFully(fd, request.data() + 7, request.size() - 7, m_stop))
                    break;
                script(fd, request, m_stop);
            }
            if (fd >= 0)
                close(fd);
        });
    }
    ~ScriptedUnit()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        close(m_listen);
    }
    int Port() const { return m_port; }

private:
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void Send(int fd, const Bytes& bytes)
{
    (void)!::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

Profile TcpProfile(int port, int timeoutMs)
{
    Profile p = DefaultProfile();
    p.port = port;
    p.unit = 7;
    p.timeoutMs = timeoutMs;
    return p;
}

std::uint16_t Crc(const Bytes& frame)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : frame) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

struct AnswerCase {
    const char* name;
    // The answer to a request whose header is request[0..6] and PDU the rest.
    std::function<Bytes(const Bytes& request)> answer;
    int code;
};

} // namespace

TEST(LinkTest, AnswersThatAreNotTheAnswerToTheRequestAreRefused)
{
    const auto tid = [](const Bytes& r) { return Big16(r.data()); };
    const auto pdu = [](const Bytes& r) { return ReadPdu(r.data() + 7); };
    const AnswerCase cases[] = {
        {"the answer", [&](const Bytes& r) { return Mbap(tid(r), 0, 7, pdu(r)); }, 0},
        {"an exception",
         [&](const Bytes& r) {
             return Mbap(tid(r), 0, 7, {0x83, 0x02});
         },
         Err::ExceptionBase + 2},
        {"another unit", [&](const Bytes& r) { return Mbap(tid(r), 0, 8, pdu(r)); }, Err::BadResponse},
        {"another protocol", [&](const Bytes& r) { return Mbap(tid(r), 1, 7, pdu(r)); }, Err::BadResponse},
        {"another request", [&](const Bytes& r) { return Mbap(tid(r) + 1, 0, 7, pdu(r)); }, Err::BadResponse},
        {"a length one short", [&](const Bytes& r) { return Mbap(tid(r), 0, 7, pdu(r), 10); }, Err::BadResponse},
        {"a length one long",
         [&](const Bytes& r) {
             Bytes b = Mbap(tid(r), 0, 7, pdu(r), 12);
             b.push_back(0);
             return b;
         },
         Err::BadResponse},
        {"a huge length and junk",
         [&](const Bytes& r) {
             Bytes b = Mbap(tid(r), 0, 7, pdu(r), 0xFFFF);
             b.resize(600, 0x5A);
             return b;
         },
         Err::BadResponse},
        {"another byte count",
         [&](const Bytes& r) {
             Bytes p = pdu(r);
             p[1] = 6;
             return Mbap(tid(r), 0, 7, p);
         },
         Err::BadResponse},
        {"another function",
         [&](const Bytes& r) {
             return Mbap(tid(r), 0, 7, {0x04, 0x00});
         },
         Err::BadResponse},
    };
    for (const AnswerCase& c : cases) {
        ScriptedUnit unit([&](int fd, const Bytes& request, const std::atomic<bool>&) { Send(fd, c.answer(request)); });
        ASSERT_NE(unit.Port(), 0);
        std::unique_ptr<ModbusLink> link;
        ASSERT_TRUE(ModbusLink::Open(TcpProfile(unit.Port(), 1000), link).Ok()) << c.name;
        std::uint16_t words[4] = {};
        const auto start = Clock::now();
        const CommResult r = link->Read(100, 4, words);
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.detail;
        // Refused on sight, not left to time out.
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(700)) << c.name;
        if (c.code == 0) {
            EXPECT_EQ(words[3], 103) << c.name;
        }
        EXPECT_EQ(link->Broken(), c.code == Err::BadResponse) << c.name;
    }
}

TEST(LinkTest, ADrippingUnitFailsTheRequestAfterItsTimeout)
{
    // A correct answer, one byte each 200 ms: it would take seconds in all.
    ScriptedUnit unit([](int fd, const Bytes& request, const std::atomic<bool>& stop) {
        const Bytes answer = Mbap(Big16(request.data()), 0, 7, ReadPdu(request.data() + 7));
        for (std::uint8_t b : answer) {
            if (stop || ::send(fd, &b, 1, MSG_NOSIGNAL) != 1)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    std::unique_ptr<ModbusLink> link;
    ASSERT_TRUE(ModbusLink::Open(TcpProfile(unit.Port(), 1000), link).Ok());
    std::uint16_t words[10];
    const auto start = Clock::now();
    EXPECT_EQ(link->Read(0, 10, words).code, Err::Timeout);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(900));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
}

// On a serial line: an answer that comes after its request timed out is not
// taken for the answer to the next request, and an answer from another unit
// is refused.
TEST(LinkTest, ALateSerialAnswerIsNotTakenByTheNextRequest)
{
    commtest::PtyPair line;
    ASSERT_TRUE(line.Ready());
    const int timeoutMs = 300;
    std::atomic<bool> stop{false};
    std::thread unit([&] {
        const int fd = open(line.Sim().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
        std::uint8_t request[8];
        while (fd >= 0 && ReadFully(fd, request, sizeof request, stop)) {
            const unsigned first = Big16(request + 2);
            if (first == 100) // the first request: answered well after its timeout
                std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs * 3 / 2));
            Bytes frame{static_cast<std::uint8_t>(first == 300 ? 6 : 5)};
            const Bytes pdu = ReadPdu(request + 1);
            frame.insert(frame.end(), pdu.begin(), pdu.end());
            const std::uint16_t crc = Crc(frame);
            frame.push_back(static_cast<std::uint8_t>(crc));
            frame.push_back(static_cast<std::uint8_t>(crc >> 8));
            (void)!::write(fd, frame.data(), frame.size());
        }
        if (fd >= 0)
            close(fd);
    });

    Profile profile = DefaultProfile();
    profile.kind = LinkKind::Rtu;
    profile.serialDevice = line.App();
    profile.baud = 115200;
    profile.parity = 'E';
    profile.unit = 5;
    profile.timeoutMs = timeoutMs;
    std::unique_ptr<ModbusLink> link;
    ASSERT_TRUE(ModbusLink::Open(profile, link).Ok());
    std::uint16_t words[2] = {};
    EXPECT_EQ(link->Read(100, 2, words).code, Err::Timeout);
    EXPECT_TRUE(link->Broken());
    // The caller opens the line again, as the sessions do after a timeout.
    ASSERT_TRUE(ModbusLink::Open(profile, link).Ok());
    const CommResult second = link->Read(200, 2, words);
    EXPECT_TRUE(second.Ok()) << second.detail;
    EXPECT_EQ(words[0], 200);
    EXPECT_EQ(words[1], 201);
    EXPECT_EQ(link->Read(300, 2, words).code, Err::BadResponse);
    stop = true;
    unit.join();
}
