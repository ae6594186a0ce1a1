#pragma once

#include <string>

namespace platform {

// The lock of one communication port, shared by every process of the user:
// an advisory lock on the file "QelTESKDEVICE<port>.lock" in the user's
// runtime folder. The system drops it when its holder ends, killed or not,
// so a crashed holder never leaves the port taken.
//
// A serial device has a lock of its own besides the port number's, so that
// two ports (two profiles, say two units on one RS-485 line) on the same
// device exclude each other; the device is named by its canonical path, so
// a link and the device it points at are the same.
//
// The lock belongs to the open file, not to the process: two PortLock
// objects for the same port exclude each other even inside one process.
class PortLock {
public:
    explicit PortLock(int port);
    explicit PortLock(const std::string& device);
    ~PortLock();
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // Waits until the port is free and takes it. false when the lock file
    // cannot be opened (the caller then goes on without the lock).
    bool Acquire();
    // Takes the port when it is free within timeoutMs; false when it stayed taken.
    bool TryAcquire(int timeoutMs);
    void Release();
    bool Held() const { return m_held; }

    // "QelTESKDEVICE" followed by the port number as a signed decimal.
    static std::string Name(int port);
    // The lock file of a port.
    static std::string Path(int port);
    // The lock file of a serial device: its canonical path with every
    // character but letters, digits, '.' and '-' written as %XX.
    static std::string DevicePath(const std::string& device);

private:
    bool Open();

    std::string m_path;
    int m_fd = -1;
    bool m_held = false;
};

} // namespace platform
