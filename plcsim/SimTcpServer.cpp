// Modbus TCP for many clients at once. One thread waits on every socket with
// poll; each connection keeps its own buffers, deadlines and window select,
// so a client that sends slowly, stops half-way or never reads its answers
// holds up nobody but itself.

#include "plcsim/SimServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A request must arrive whole, and an answer must be taken, within this;
// otherwise the connection is closed.
constexpr auto kStallTimeout = std::chrono::seconds(1);
// How often the loop looks at the stop flag when nothing happens.
constexpr auto kTick = std::chrono::milliseconds(200);

constexpr std::size_t kHeaderBytes = 7; // transaction, protocol, length, unit
// Requests of one connection answered in one turn of the loop, so that a
// client that sends many at once takes its turn like everyone else.
constexpr int kRequestsPerTurn = 8;
constexpr std::uint16_t kMaxLength = 254; // unit and PDU, as the length field counts them
// Descriptors kept back from connections: the listener, standard streams,
// the spare, and whatever the saving of the memory file needs at the end.
constexpr int kReservedDescriptors = 16;

std::string PeerName(int fd)
{
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return "?";
    char host[NI_MAXHOST] = "?", service[NI_MAXSERV] = "?";
    getnameinfo(reinterpret_cast<sockaddr*>(&address), size, host, sizeof host, service, sizeof service,
                NI_NUMERICHOST | NI_NUMERICSERV);
    return std::string(host) + ":" + service;
}

int LocalPort(int fd)
{
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return -1;
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

int Listen(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const int problem = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (problem != 0) {
        std::fprintf(stderr, "memorix-plcsim: %s:%d: %s\n", host.c_str(), port, gai_strerror(problem));
        return -1;
    }
    int fd = -1;
    int lastError = 0;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        // Many clients may connect at once; a full queue would make them retry a second later.
        if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, SOMAXCONN) != 0) {
            lastError = errno;
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd < 0)
        std::fprintf(stderr, "memorix-plcsim: cannot listen on %s:%d: %s\n", host.c_str(), port,
                     std::strerror(lastError));
    return fd;
}

// As many connections as asked for, but never more than the descriptors allow.
int ConnectionLimit(int asked)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return asked;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= static_cast<rlim_t>(asked) + kReservedDescriptors)
        return asked;
    const int possible = std::max(1, static_cast<int>(limit.rlim_cur) - kReservedDescriptors);
    std::fprintf(stderr, "memorix-plcsim: at most %d connections: the process may open only %d files\n", possible,
                 static_cast<int>(limit.rlim_cur));
    return possible;
}

struct Connection {
    int fd = -1;
    std::string peer;
    SimLineState line;
    std::vector<std::uint8_t> in; // received, not yet handled
    Clock::time_point requestStarted;
    std::vector<std::uint8_t> out; // to send; sent bytes of it so far
    std::size_t sent = 0;
    Clock::time_point lastSent;
    std::vector<std::uint8_t> held; // an answer waiting for its delay
    Clock::time_point due;
    bool holding = false;

    bool Sending() const { return sent < out.size(); }
    // A connection handles its next request only when the last answer is gone.
    bool Busy() const { return holding || Sending(); }
    // Whether in holds a request to handle (or a header that cannot be one).
    bool WholeRequest() const
    {
        if (in.size() < kHeaderBytes)
            return false;
        const std::size_t length = static_cast<std::size_t>(in[4] << 8 | in[5]);
        return in[2] != 0 || in[3] != 0 || length < 2 || length > kMaxLength || in.size() >= 6 + length;
    }
};

class TcpServer {
public:
    TcpServer(SimResponder& responder, int listener, int maxConnections)
        : m_responder(responder)
        , m_listener(listener)
        , m_max(maxConnections)
    {
        m_spare = open("/dev/null", O_RDONLY | O_CLOEXEC);
    }

    ~TcpServer()
    {
        for (Connection& c : m_connections)
            if (c.fd >= 0)
                Close(c, "closed at stop");
        if (m_spare >= 0)
            close(m_spare);
    }

    void Run(volatile std::sig_atomic_t& stop)
    {
        std::vector<pollfd> polled;
        while (!stop) {
            const Clock::time_point now = Clock::now();
            Clock::time_point wake = now + kTick;
            for (Connection& c : m_connections)
                Expire(c, now, wake);
            Compact();

            polled.assign(1, pollfd{m_listener, POLLIN, 0});
            for (const Connection& c : m_connections) {
                const short events = c.Sending() ? POLLOUT : c.holding || c.WholeRequest() ? 0 : POLLIN;
                polled.push_back(pollfd{c.fd, events, 0});
            }
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count();
            const int ready = poll(polled.data(), polled.size(), static_cast<int>(std::max<long long>(wait, 0) + 1));
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                std::fprintf(stderr, "memorix-plcsim: poll: %s\n", std::strerror(errno));
                break;
            }
            // Connections accepted below come after the ones polled.
            const std::size_t polledConnections = polled.size() - 1;
            for (std::size_t i = 0; i < polledConnections; ++i) {
                Connection& c = m_connections[i];
                const short events = polled[i + 1].revents;
                if (events & POLLOUT) {
                    Send(c);
                    if (c.fd >= 0 && !c.Busy())
                        Resume(c);
                } else if ((events & (POLLHUP | POLLERR)) && c.Busy()) {
                    Close(c, "closed"); // the answer has nobody to go to
                }
                if (c.fd >= 0 && (events & (POLLIN | POLLHUP | POLLERR)) && !c.Busy())
                    Receive(c);
            }
            if (polled[0].revents & POLLIN)
                Accept();
        }
    }

private:
    void Accept()
    {
        // Everyone waiting is taken or turned away now, so the queue never fills.
        for (;;) {
            int fd = accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED)
                    continue;
                if ((errno == EMFILE || errno == ENFILE) && m_spare >= 0) {
                    // Out of descriptors: give the spare up for a moment to turn the client
                    // away, as one left in the queue would wake poll again at once.
                    close(m_spare);
                    fd = accept(m_listener, nullptr, nullptr);
                    if (fd >= 0) {
                        Refuse(fd, "no file descriptors left");
                    }
                    m_spare = open("/dev/null", O_RDONLY | O_CLOEXEC);
                    continue;
                }
                return; // EAGAIN: nobody else is waiting
            }
            if (static_cast<int>(m_connections.size()) >= m_max) {
                Refuse(fd, "too many connections");
                continue;
            }
            const int yes = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            Connection c;
            c.fd = fd;
            c.peer = PeerName(fd);
            c.line.connection = ++m_accepted;
            m_connections.push_back(std::move(c));
            std::fprintf(stderr, "memorix-plcsim: connection from %s\n", m_connections.back().peer.c_str());
        }
    }

    void Refuse(int fd, const char* why)
    {
        // Said once and then every hundredth time, so a flood of clients does not flood the log.
        if (m_refused++ % 100 == 0)
            std::fprintf(stderr, "memorix-plcsim: connection from %s refused: %s (%ld so far)\n", PeerName(fd).c_str(),
                         why, m_refused);
        close(fd);
    }

    void Close(Connection& c, const char* why)
    {
        std::fprintf(stderr, "memorix-plcsim: connection from %s %s after %ld requests\n", c.peer.c_str(), why,
                     c.line.requests);
        close(c.fd);
        c.fd = -1;
    }

    void Compact()
    {
        std::erase_if(m_connections, [](const Connection& c) { return c.fd < 0; });
    }

    // Closes a connection past its deadline, releases an answer whose delay is
    // over, and brings wake forward to the next deadline.
    void Expire(Connection& c, Clock::time_point now, Clock::time_point& wake)
    {
        if (c.fd < 0)
            return;
        if (!c.in.empty() && !c.Busy() && !c.WholeRequest()) {
            if (now - c.requestStarted >= kStallTimeout)
                return Close(c, "timed out in the middle of a request");
            wake = std::min(wake, c.requestStarted + kStallTimeout);
        }
        if (c.Sending()) {
            if (now - c.lastSent >= kStallTimeout)
                return Close(c, "timed out leaving its answer unread");
            wake = std::min(wake, c.lastSent + kStallTimeout);
        }
        if (c.holding) {
            if (now < c.due) {
                wake = std::min(wake, c.due);
                return;
            }
            c.holding = false;
            Queue(c, c.held);
            c.held.clear();
            if (c.fd >= 0 && !c.Busy())
                Resume(c);
        }
        // Requests left over from the last turn.
        if (c.fd >= 0 && !c.Busy() && c.WholeRequest()) {
            HandleRequests(c);
            if (c.fd >= 0 && !c.Busy() && c.WholeRequest())
                wake = now;
        }
    }

    // The last answer is out: on with the requests that came with or after
    // the one it answered. Waiting for the answer does not count against a
    // request that was already on its way.
    void Resume(Connection& c)
    {
        if (c.in.empty())
            return;
        c.requestStarted = Clock::now();
        HandleRequests(c);
    }

    void Receive(Connection& c)
    {
        std::uint8_t buffer[4096];
        const ssize_t n = recv(c.fd, buffer, sizeof buffer, 0);
        if (n == 0)
            return Close(c, "closed");
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                Close(c, "closed");
            return;
        }
        if (c.in.empty())
            c.requestStarted = Clock::now();
        c.in.insert(c.in.end(), buffer, buffer + n);
        HandleRequests(c);
    }

    // Answers the whole requests received so far, a turn's worth, and sends
    // the answers together. An answer held back for its delay ends the turn.
    void HandleRequests(Connection& c)
    {
        if (c.Busy())
            return;
        std::size_t used = 0;
        std::vector<std::uint8_t> answers;
        const char* closeAs = nullptr; // after the answers before it have gone
        for (int turn = 0; turn < kRequestsPerTurn && !c.holding && !closeAs && c.in.size() - used >= kHeaderBytes;
             ++turn) {
            const std::uint8_t* frame = c.in.data() + used;
            const std::uint16_t protocol = static_cast<std::uint16_t>(frame[2] << 8 | frame[3]);
            const std::uint16_t length = static_cast<std::uint16_t>(frame[4] << 8 | frame[5]);
            if (protocol != 0 || length < 2 || length > kMaxLength) {
                closeAs = "sent a malformed frame and was closed";
                break;
            }
            if (c.in.size() - used < 6u + length)
                break;
            SimReply reply = m_responder.Handle(frame + kHeaderBytes, length - 1, c.line);
            std::vector<std::uint8_t> answer;
            switch (reply.action) {
            case SimAction::Malformed: closeAs = "sent a malformed request and was closed"; break;
            case SimAction::Drop: closeAs = "dropped on purpose"; break;
            case SimAction::Ignore: break;
            case SimAction::SendRaw: answer = std::move(reply.bytes); break;
            case SimAction::Answer: {
                const auto size = static_cast<std::uint16_t>(reply.bytes.size() + 1);
                // Transaction id and unit as the request had them.
                answer = {frame[0],
                          frame[1],
                          0,
                          0,
                          static_cast<std::uint8_t>(size >> 8),
                          static_cast<std::uint8_t>(size & 0xFF),
                          frame[6]};
                answer.insert(answer.end(), reply.bytes.begin(), reply.bytes.end());
                break;
            }
            }
            used += 6u + length;
            if (answer.empty())
                continue;
            if (reply.delayMs > 0) {
                c.held = std::move(answer);
                c.due = Clock::now() + std::chrono::milliseconds(reply.delayMs);
                c.holding = true;
            } else {
                answers.insert(answers.end(), answer.begin(), answer.end());
            }
        }
        c.in.erase(c.in.begin(), c.in.begin() + static_cast<std::ptrdiff_t>(used));
        // What is left is the start of the next request: its time runs from now.
        if (used > 0 && !c.in.empty())
            c.requestStarted = Clock::now();
        if (!answers.empty())
            Queue(c, answers);
        if (closeAs && c.fd >= 0)
            Close(c, closeAs);
    }

    // Adds bytes to what the connection has to send and sends what it can.
    void Queue(Connection& c, const std::vector<std::uint8_t>& bytes)
    {
        if (!c.Sending())
            c.lastSent = Clock::now();
        c.out.insert(c.out.end(), bytes.begin(), bytes.end());
        Send(c);
    }

    void Send(Connection& c)
    {
        while (c.Sending()) {
            const ssize_t n = send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    return;
                if (errno == EINTR)
                    continue;
                return Close(c, "closed");
            }
            c.sent += static_cast<std::size_t>(n);
            c.lastSent = Clock::now();
        }
        c.out.clear();
        c.sent = 0;
    }

    SimResponder& m_responder;
    int m_listener;
    int m_max;
    int m_spare = -1;
    long m_refused = 0;
    long m_accepted = 0;
    std::vector<Connection> m_connections;
};

} // namespace

int RunTcpServer(SimResponder& responder, const std::string& host, int port, int maxConnections,
                 volatile std::sig_atomic_t& stop)
{
    const int listener = Listen(host, port);
    if (listener < 0)
        return 1;
    const int limit = ConnectionLimit(maxConnections);
    std::printf("memorix-plcsim: listening on %s:%d (Modbus TCP)\n", host.c_str(), LocalPort(listener));
    std::fflush(stdout);
    {
        TcpServer server(responder, listener, limit);
        server.Run(stop);
    }
    close(listener);
    return 0;
}
