#include "plcsim/SimServer.h"

#include <modbus/modbus.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <map>
#include <netdb.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <fcntl.h>

namespace {

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

speed_t SpeedOf(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

// A pseudo-terminal of our own: we serve on its master and keep one handle
// of the client's end open, so that the master never sees a hang-up between
// clients. Its termios are those the client set on its end.
struct OwnTerminal {
    int master = -1;
    int client = -1;
    std::string path;

    bool Open()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return false;
        const char* name = ptsname(master);
        if (!name)
            return false;
        path = name;
        client = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (client < 0)
            return false;
        termios t{};
        if (tcgetattr(client, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(client, TCSANOW, &t);
        }
        return true;
    }

    // Whether the client's end runs at our baud rate and parity, as a unit on
    // a real line understands only such a client. A Linux pseudo-terminal
    // forces 8 data bits and clears the parity-enable flag on every setting,
    // so parity shows in the input parity check that a client sets with it
    // (and in the odd flag, which the terminal keeps); the data length cannot
    // be seen at all.
    bool Matches(const SimSerialLine& line) const
    {
        termios t{};
        if (tcgetattr(master, &t) != 0)
            return false;
        const bool parity = (t.c_cflag & PARENB) != 0 || (t.c_iflag & INPCK) != 0;
        const bool odd = (t.c_cflag & PARODD) != 0;
        const bool wantParity = line.parity != 'N';
        return cfgetospeed(&t) == SpeedOf(line.baud) && parity == wantParity
               && (!wantParity || odd == (line.parity == 'O'));
    }

    ~OwnTerminal()
    {
        if (client >= 0)
            close(client);
        if (master >= 0)
            close(master);
    }
};

} // namespace

int RunTcpServer(SimResponder& responder, const std::string& host, int port, volatile std::sig_atomic_t& stop)
{
    modbus_t* context = modbus_new_tcp_pi(host.c_str(), std::to_string(port).c_str());
    if (!context) {
        std::fprintf(stderr, "memorix-plcsim: %s:%d: %s\n", host.c_str(), port, modbus_strerror(errno));
        return 1;
    }
    // A client that stops in the middle of a request is dropped after this.
    modbus_set_byte_timeout(context, 1, 0);
    const int server = modbus_tcp_pi_listen(context, 16);
    if (server < 0) {
        std::fprintf(stderr, "memorix-plcsim: cannot listen on %s:%d: %s\n", host.c_str(), port,
                     modbus_strerror(errno));
        modbus_free(context);
        return 1;
    }
    std::printf("memorix-plcsim: listening on %s:%d (Modbus TCP)\n", host.c_str(), LocalPort(server));
    std::fflush(stdout);

    std::map<int, SimLineState> clients;
    std::uint8_t request[MODBUS_TCP_MAX_ADU_LENGTH];
    auto closeClient = [&](int fd, const char* why) {
        std::fprintf(stderr, "memorix-plcsim: connection from %s %s after %ld requests\n", PeerName(fd).c_str(), why,
                     clients[fd].requests);
        close(fd);
        clients.erase(fd);
    };
    while (!stop) {
        fd_set read;
        FD_ZERO(&read);
        FD_SET(server, &read);
        int top = server;
        for (const auto& [fd, state] : clients) {
            FD_SET(fd, &read);
            top = std::max(top, fd);
        }
        timeval tick{0, 200000};
        const int ready = select(top + 1, &read, nullptr, nullptr, &tick);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (FD_ISSET(server, &read)) {
            const int fd = accept(server, nullptr, nullptr);
            if (fd >= 0) {
                clients[fd] = SimLineState{};
                std::fprintf(stderr, "memorix-plcsim: connection from %s\n", PeerName(fd).c_str());
            }
        }
        std::vector<int> readable;
        for (const auto& [fd, state] : clients)
            if (FD_ISSET(fd, &read))
                readable.push_back(fd);
        for (int fd : readable) {
            modbus_set_socket(context, fd);
            const int length = modbus_receive(context, request);
            if (length < 0) {
                closeClient(fd, "closed");
                continue;
            }
            if (length == 0)
                continue;
            if (responder.Handle(context, request, length, clients[fd]) == SimAnswer::Drop)
                closeClient(fd, "dropped on purpose");
        }
    }
    while (!clients.empty())
        closeClient(clients.begin()->first, "closed at stop");
    close(server);
    modbus_free(context);
    return 0;
}

int RunRtuServer(SimResponder& responder, const SimSerialLine& line, volatile std::sig_atomic_t& stop)
{
    if (line.device == kOwnTerminal)
        return RunOwnTerminalServer(responder, line, stop);
    modbus_t* context = modbus_new_rtu(line.device.c_str(), line.baud, line.parity, line.dataBits, line.stopBits);
    if (!context || modbus_set_slave(context, line.unit) != 0 || modbus_connect(context) != 0) {
        std::fprintf(stderr, "memorix-plcsim: cannot open %s: %s\n", line.device.c_str(), modbus_strerror(errno));
        if (context)
            modbus_free(context);
        return 1;
    }
    modbus_set_indication_timeout(context, 0, 200000);
    std::printf("memorix-plcsim: serving %s %d %d%c%d, unit %d (Modbus RTU)\n", line.device.c_str(), line.baud,
                line.dataBits, line.parity, line.stopBits, line.unit);
    std::fflush(stdout);

    SimLineState state;
    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stop) {
        const int length = modbus_receive(context, request);
        if (length < 0) {
            if (errno != ETIMEDOUT && errno != EINTR)
                modbus_flush(context); // a damaged frame: start over with the next one
            continue;
        }
        if (length == 0)
            continue;
        // A serial line cannot be dropped: a request past the drop count
        // goes unanswered, and so does every later one.
        responder.Handle(context, request, length, state);
    }
    modbus_close(context);
    modbus_free(context);
    return 0;
}

int RunOwnTerminalServer(SimResponder& responder, const SimSerialLine& line, volatile std::sig_atomic_t& stop)
{
    OwnTerminal terminal;
    if (!terminal.Open()) {
        std::fprintf(stderr, "memorix-plcsim: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    // Not connected through libmodbus: that would set the line on the
    // client's end. The context only frames requests on the master.
    modbus_t* context = modbus_new_rtu(terminal.path.c_str(), line.baud, line.parity, line.dataBits, line.stopBits);
    if (!context || modbus_set_slave(context, line.unit) != 0 || modbus_set_socket(context, terminal.master) != 0) {
        std::fprintf(stderr, "memorix-plcsim: %s: %s\n", terminal.path.c_str(), modbus_strerror(errno));
        if (context)
            modbus_free(context);
        return 1;
    }
    modbus_set_indication_timeout(context, 0, 200000);
    std::printf("memorix-plcsim: serving %s %d %d%c%d, unit %d (Modbus RTU)\n", terminal.path.c_str(), line.baud,
                line.dataBits, line.parity, line.stopBits, line.unit);
    std::fflush(stdout);

    SimLineState state;
    long ignored = 0;
    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stop) {
        const int length = modbus_receive(context, request);
        if (length < 0) {
            if (errno != ETIMEDOUT && errno != EINTR)
                modbus_flush(context);
            continue;
        }
        if (length == 0)
            continue;
        if (!terminal.Matches(line)) {
            // A unit on another baud rate or parity hears only noise.
            if (++ignored == 1 || ignored % 100 == 0)
                std::fprintf(stderr, "memorix-plcsim: %ld requests ignored: the client's line settings differ\n",
                             ignored);
            continue;
        }
        responder.Handle(context, request, length, state);
    }
    modbus_set_socket(context, -1);
    modbus_free(context);
    return 0;
}
