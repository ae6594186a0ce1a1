#include "platform/DenyWriteFile.h"

#include "platform/FileDescriptorIo.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr const char* kInUseText = "The file is in use by another program";

std::atomic<int> g_modifyWaitMs{5000};

struct HeldFiles {
    std::mutex mutex;
    std::vector<std::pair<dev_t, ino_t>> files;
};

HeldFiles& Held()
{
    static HeldFiles held;
    return held;
}

void AddHeld(dev_t device, ino_t inode)
{
    HeldFiles& held = Held();
    const std::lock_guard<std::mutex> guard(held.mutex);
    held.files.emplace_back(device, inode);
}

void RemoveHeld(dev_t device, ino_t inode)
{
    HeldFiles& held = Held();
    const std::lock_guard<std::mutex> guard(held.mutex);
    const auto found = std::find(held.files.begin(), held.files.end(), std::make_pair(device, inode));
    if (found != held.files.end())
        held.files.erase(found);
}

bool LockWhole(int fd, short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // to the end, however long the file grows
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

} // namespace

DenyWriteFile::~DenyWriteFile()
{
    Close();
}

void DenyWriteFile::SetModifyWait(int milliseconds)
{
    g_modifyWaitMs = milliseconds;
}

bool DenyWriteFile::IsHeldHere(dev_t device, ino_t inode)
{
    HeldFiles& held = Held();
    const std::lock_guard<std::mutex> guard(held.mutex);
    return std::find(held.files.begin(), held.files.end(), std::make_pair(device, inode)) != held.files.end();
}

DenyWriteFile::DenyWriteFile(DenyWriteFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_held(std::exchange(other.m_held, false))
    , m_device(other.m_device)
    , m_inode(other.m_inode)
    , m_path(std::move(other.m_path))
    , m_error(std::move(other.m_error))
    , m_errno(other.m_errno)
{
}

DenyWriteFile& DenyWriteFile::operator=(DenyWriteFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_held = std::exchange(other.m_held, false);
        m_device = other.m_device;
        m_inode = other.m_inode;
        m_path = std::move(other.m_path);
        m_error = std::move(other.m_error);
        m_errno = other.m_errno;
    }
    return *this;
}

void DenyWriteFile::SetError(int number)
{
    m_errno = number;
    m_error = std::strerror(number);
}

bool DenyWriteFile::Open(const std::string& path, Access access)
{
    Close();
    m_path = path;
    if (access == Access::Modify)
        return OpenForModify(path);
    const bool write = access == Access::CreateReadWrite;
    FileFailure failure;
    const int fd = OpenRegularFile(path, write ? O_RDWR | O_CREAT : O_RDONLY, 0666, failure);
    if (fd < 0) {
        SetError(failure.number);
        m_error = failure.text;
        return false;
    }
    struct stat info {};
    // This process holds the file for a change already; its own exclusive lock
    // keeps everyone else out and would refuse a shared one of ours.
    const bool heldHere = !write && fstat(fd, &info) == 0 && IsHeldHere(info.st_dev, info.st_ino);
    if (!heldHere && !LockWhole(fd, write ? F_WRLCK : F_RDLCK)) {
        const int number = errno;
        ::close(fd);
        SetError(number);
        if (number == EAGAIN || number == EACCES)
            m_error = kInUseText;
        return false;
    }
    if (write && ftruncate(fd, 0) != 0) {
        const int number = errno;
        ::close(fd);
        SetError(number);
        return false;
    }
    m_fd = fd;
    m_errno = 0;
    m_error.clear();
    return true;
}

bool DenyWriteFile::OpenForModify(const std::string& path)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(g_modifyWaitMs.load());
    while (true) {
        FileFailure failure;
        const int fd = OpenRegularFile(path, O_RDWR, 0, failure);
        if (fd < 0) {
            SetError(failure.number);
            m_error = (failure.number == EACCES || failure.number == EPERM) && ::access(path.c_str(), F_OK) == 0
                          ? "The file is read-only, or you may not write to it"
                          : failure.text;
            return false;
        }
        if (LockWhole(fd, F_WRLCK)) {
            // A save of the holder we waited for renames a new file over the
            // path; the lock we got is then on the old one, which nobody reads again.
            struct stat opened {};
            struct stat named {};
            if (fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev
                && opened.st_ino == named.st_ino) {
                m_fd = fd;
                m_held = true;
                m_device = opened.st_dev;
                m_inode = opened.st_ino;
                AddHeld(m_device, m_inode);
                m_errno = 0;
                m_error.clear();
                return true;
            }
            ::close(fd);
            if (std::chrono::steady_clock::now() < deadline)
                continue;
            SetError(EAGAIN);
            m_error = kInUseText;
            return false;
        }
        const int number = errno;
        ::close(fd);
        if ((number != EAGAIN && number != EACCES) || std::chrono::steady_clock::now() >= deadline) {
            SetError(number);
            if (number == EAGAIN || number == EACCES)
                m_error = kInUseText;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void DenyWriteFile::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd); // releases the lock with the last descriptor of the description
        m_fd = -1;
    }
    if (std::exchange(m_held, false))
        RemoveHeld(m_device, m_inode);
}

std::size_t DenyWriteFile::Read(void* buffer, std::size_t size)
{
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (m_fd >= 0 && done < size) {
        const ssize_t n = ::read(m_fd, out + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetError(errno);
            break;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool DenyWriteFile::Write(const void* data, std::size_t size)
{
    if (m_fd < 0)
        return false;
    if (const int error = WriteAll(m_fd, data, size); error != 0) {
        SetError(error);
        return false;
    }
    return true;
}

bool DenyWriteFile::Seek(std::uint64_t offset)
{
    if (m_fd < 0)
        return false;
    if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        SetError(errno);
        return false;
    }
    return true;
}

std::optional<std::uint64_t> DenyWriteFile::Length() const
{
    struct stat info {};
    if (m_fd < 0 || fstat(m_fd, &info) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

} // namespace platform
