#pragma once

#include <string>

namespace commtest {

// A pair of joined pseudo-terminals (socat), DIR/sim and DIR/app, while it lives:
// the simulator opens one end, the profile names the other.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ready() const;
    std::string Sim() const { return m_dir + "/sim"; }
    std::string App() const { return m_dir + "/app"; }

private:
    std::string m_dir;
    int m_pid = -1;
};

// Stores profile number as Modbus RTU on device: 115200 baud, even parity, unit 5.
void SaveRtuProfile(int number, const std::string& device, int timeoutMs = 1000);

} // namespace commtest
