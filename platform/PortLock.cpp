#include "platform/PortLock.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

// XDG_RUNTIME_DIR when it names a folder, else a folder of this user under /tmp.
std::string RuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime && *runtime && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        return runtime;
    std::string folder = "/tmp/memorix-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "/tmp";
    return folder;
}

} // namespace

PortLock::PortLock(int port)
    : m_path(Path(port))
{
}

PortLock::PortLock(const std::string& device)
    : m_path(DevicePath(device))
{
}

PortLock::~PortLock()
{
    Release();
}

std::string PortLock::Name(int port)
{
    char name[20];
    std::snprintf(name, sizeof name, "%s%d", "QelTESKDEVICE", port);
    return name;
}

std::string PortLock::Path(int port)
{
    return RuntimeFolder() + "/" + Name(port) + ".lock";
}

std::string PortLock::DevicePath(const std::string& device)
{
    std::error_code error;
    std::string canonical = std::filesystem::weakly_canonical(device, error).string();
    if (error || canonical.empty())
        canonical = device;
    std::string name = "QelTESKDEVICE";
    for (const char c : canonical) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '.' || c == '-') {
            name += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", u);
            name += hex;
        }
    }
    // A file name has a limit; a path that long is named by its hash instead.
    if (name.size() > 200)
        name = "QelTESKDEVICE%" + std::to_string(std::hash<std::string>{}(canonical));
    return RuntimeFolder() + "/" + name + ".lock";
}

bool PortLock::Open()
{
    if (m_fd >= 0)
        return true;
    m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    return m_fd >= 0;
}

bool PortLock::Acquire()
{
    if (m_held)
        return true;
    if (!Open())
        return false;
    while (flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    m_held = true;
    return true;
}

bool PortLock::TryAcquire(int timeoutMs)
{
    if (m_held)
        return true;
    if (!Open())
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_held = true;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void PortLock::Release()
{
    if (m_fd >= 0) {
        if (m_held)
            flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    m_fd = -1;
    m_held = false;
}

} // namespace platform
