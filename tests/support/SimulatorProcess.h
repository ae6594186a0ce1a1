#pragma once

// memorix-plcsim as a child process for one test: started on a free port
// (or on a serial line), stopped with SIGTERM when the object goes.

#include <string>
#include <vector>

namespace commtest {

class SimulatorProcess {
public:
    // Starts the simulator with these arguments and waits (10 s at most) for
    // its first line. TCP unless the arguments name --rtu; "--port 0" is added
    // for TCP so that the system picks a free port.
    explicit SimulatorProcess(std::vector<std::string> args);
    // Another program whose first line ends in the port it serves on.
    SimulatorProcess(const std::string& program, std::vector<std::string> args);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool Started() const { return m_port > 0 || m_serial; }
    int Port() const { return m_port; }
    const std::string& FirstLine() const { return m_firstLine; }
    int Pid() const { return m_pid; }
    // Sends SIGTERM and waits (5 s at most); the exit code, or -1.
    int Stop();
    // What it wrote to standard error so far (after Stop: all of it).
    std::string Log() const;

private:
    int m_pid = -1;
    int m_port = 0;
    bool m_serial = false;
    std::string m_firstLine;
    std::string m_logPath;
};

// The directory of the built programs and libraries.
std::string BinDir();

// Waits for a child to exit, at most timeoutMs; its exit code, or -1 (then it is killed).
int WaitChild(int pid, int timeoutMs);

} // namespace commtest
