#include "plcsim/SimServer.h"

#include <modbus/modbus.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <map>
#include <netdb.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

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
