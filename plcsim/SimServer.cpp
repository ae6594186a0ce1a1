#include "plcsim/SimServer.h"

#include <modbus/modbus.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

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

// Answers one request of a serial line. A serial line cannot be dropped: a
// request past the drop count goes unanswered, and so does every later one;
// a malformed one goes unanswered too.
void Serve(modbus_t* context, SimResponder& responder, const std::uint8_t* request, int length, SimLineState& state)
{
    const int header = modbus_get_header_length(context);
    const int checksum = 2;
    if (length < header + 1 + checksum)
        return;
    SimReply reply = responder.Handle(request + header, length - header - checksum, state);
    if (reply.action != SimAction::Answer && reply.action != SimAction::SendRaw)
        return;
    if (reply.delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
    if (reply.action == SimAction::SendRaw) {
        if (write(modbus_get_socket(context), reply.bytes.data(), reply.bytes.size()) < 0)
            std::fprintf(stderr, "memorix-plcsim: cannot write: %s\n", std::strerror(errno));
        return;
    }
    // Nobody answers a broadcast.
    if (request[0] == MODBUS_BROADCAST_ADDRESS)
        return;
    std::vector<std::uint8_t> answer{request[0]};
    answer.insert(answer.end(), reply.bytes.begin(), reply.bytes.end());
    modbus_send_raw_request(context, answer.data(), static_cast<int>(answer.size()));
}

} // namespace

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
        Serve(context, responder, request, length, state);
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
        Serve(context, responder, request, length, state);
    }
    modbus_set_socket(context, -1);
    modbus_free(context);
    return 0;
}
