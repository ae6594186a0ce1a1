#include "support/SimulatorProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace commtest {

std::string BinDir()
{
    const char* dir = std::getenv("MEMORIX_BIN_DIR");
    return dir ? dir : ".";
}

int WaitChild(int pid, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const int done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

SimulatorProcess::SimulatorProcess(std::vector<std::string> args)
    : SimulatorProcess(BinDir() + "/memorix-plcsim", std::move(args))
{
}

SimulatorProcess::SimulatorProcess(const std::string& program, std::vector<std::string> args)
{
    bool rtu = false;
    for (const std::string& a : args)
        rtu = rtu || a == "--rtu";
    if (!rtu && program.find("memorix-plcsim") != std::string::npos) {
        args.push_back("--port");
        args.push_back("0");
    }
    char logName[] = "/tmp/memorix-plcsim-log-XXXXXX";
    const int logFd = mkstemp(logName);
    m_logPath = logName;
    int out[2];
    if (pipe(out) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(logFd, STDERR_FILENO);
        close(out[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(logFd);
    // The first line says where it serves.
    pollfd p{out[0], POLLIN, 0};
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (poll(&p, 1, 100) > 0) {
            char c[256];
            const ssize_t n = read(out[0], c, sizeof c);
            if (n <= 0)
                break;
            line.append(c, static_cast<std::size_t>(n));
        }
    }
    close(out[0]);
    m_firstLine = line.substr(0, line.find('\n'));
    if (rtu) {
        m_serial = m_firstLine.find("serving") != std::string::npos;
    } else {
        const auto colon = m_firstLine.rfind(':');
        m_port = std::atoi(m_firstLine.c_str() + (colon == std::string::npos ? 0 : colon + 1));
    }
}

SimulatorProcess::~SimulatorProcess()
{
    Stop();
    if (!m_logPath.empty())
        unlink(m_logPath.c_str());
}

int SimulatorProcess::Stop()
{
    if (m_pid <= 0)
        return -1;
    kill(m_pid, SIGTERM);
    const int code = WaitChild(m_pid, 5000);
    m_pid = -1;
    return code;
}

std::string SimulatorProcess::Log() const
{
    std::ifstream in(m_logPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace commtest
