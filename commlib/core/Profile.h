#pragma once

// A connection profile: where the unit is and how to talk to it. The
// connection number of the calls selects one.

#include <string>

namespace commlib {

enum class LinkKind { Tcp, Rtu };

inline constexpr int kDefaultParallel = 4;
inline constexpr int kMaxParallel = 8;

struct Profile {
    std::string name = "Simulator";
    LinkKind kind = LinkKind::Tcp;
    std::string host = "127.0.0.1";
    int port = 1502;
    std::string serialDevice;
    int baud = 9600;
    char parity = 'N'; // N, E or O
    int dataBits = 8;  // 7 or 8
    int stopBits = 1;  // 1 or 2
    int unit = 1;
    int timeoutMs = 1000;
    std::string mapFile; // empty: the default register map
    int family = -1;     // declared protocol family for a unit without identity: -1 none, 0 or 1
    int model = 0;       // declared model id, 0 none
    // Requests a TCP transfer keeps in flight, each on a connection of its own.
    int parallel = kDefaultParallel;
};

// The profile a new user starts with: the simulator at 127.0.0.1:1502.
Profile DefaultProfile();

// Empty when the profile can be used, else the first problem in words.
std::string ValidateProfile(const Profile& profile);

// The connections a transfer may use: a serial line carries one request at
// a time whatever the profile says.
int ParallelRequests(const Profile& profile);

// "Modbus TCP 127.0.0.1:1502, unit 1, timeout 1000 ms".
std::string DescribeProfile(const Profile& profile);

} // namespace commlib
