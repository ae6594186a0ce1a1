#include "support/PtyPair.h"

#include "support/SimulatorProcess.h"

#include "commlib/core/ProfileStore.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace commtest {

PtyPair::PtyPair()
{
    char dir[] = "/tmp/memorix-pty-XXXXXX";
    m_dir = mkdtemp(dir);
    const std::string a = "pty,raw,echo=0,link=" + Sim();
    const std::string b = "pty,raw,echo=0,link=" + App();
    m_pid = fork();
    if (m_pid == 0) {
        execlp("socat", "socat", a.c_str(), b.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!Ready() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

PtyPair::~PtyPair()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        WaitChild(m_pid, 3000);
    }
    std::filesystem::remove_all(m_dir);
}

bool PtyPair::Ready() const
{
    return std::filesystem::exists(Sim()) && std::filesystem::exists(App());
}

void SaveRtuProfile(int number, const std::string& device, int timeoutMs)
{
    commlib::Profile p = commlib::DefaultProfile();
    p.name = "Serial";
    p.kind = commlib::LinkKind::Rtu;
    p.serialDevice = device;
    p.baud = 115200;
    p.parity = 'E';
    p.unit = 5;
    p.timeoutMs = timeoutMs;
    commlib::ProfileStore::Save(number, p);
}

} // namespace commtest
