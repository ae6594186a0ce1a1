#include "platform/DenyWriteFile.h"

#include "platform/FileDescriptorIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

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

DenyWriteFile::DenyWriteFile(DenyWriteFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
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
    const bool write = access == Access::CreateReadWrite;
    const int fd =
        write ? ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666) : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        SetError(EISDIR);
        return false;
    }
    if (!LockWhole(fd, write ? F_WRLCK : F_RDLCK)) {
        const int number = errno;
        ::close(fd);
        SetError(number);
        if (number == EAGAIN || number == EACCES)
            m_error = "The file is in use by another program";
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

void DenyWriteFile::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd); // releases the lock with the last descriptor of the description
        m_fd = -1;
    }
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
