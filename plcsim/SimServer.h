#pragma once

// The simulator's transports: Modbus TCP with many connections at once, or
// Modbus RTU on one serial line. Both run until stop becomes non-zero.

#include "plcsim/SimResponder.h"

#include <csignal>
#include <string>

struct SimSerialLine {
    std::string device;
    int baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    int unit = 1;
};

// The default number of TCP connections served at once; clients beyond it
// are turned away as they connect.
inline constexpr int kDefaultMaxConnections = 256;

// Listens on host:port (port 0: any free port); prints the address it
// listens on as the first line of standard output. 0 after a clean stop.
int RunTcpServer(SimResponder& responder, const std::string& host, int port, int maxConnections,
                 volatile std::sig_atomic_t& stop);

// The device name that makes the simulator create a pseudo-terminal of its
// own and serve on it; the first line names the terminal for the client.
// It answers only a client whose terminal settings (baud rate and parity;
// the terminal hides the data length) are its own.
inline constexpr const char* kOwnTerminal = "pty";

int RunRtuServer(SimResponder& responder, const SimSerialLine& line, volatile std::sig_atomic_t& stop);

int RunOwnTerminalServer(SimResponder& responder, const SimSerialLine& line, volatile std::sig_atomic_t& stop);
