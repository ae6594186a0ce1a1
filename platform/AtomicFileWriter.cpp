#include "platform/AtomicFileWriter.h"

#include "platform/DenyWriteFile.h"
#include "platform/FileDescriptorIo.h"
#include "platform/RegularFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

constexpr const char* kInUseText = "The file is in use by another program";
constexpr const char* kReadOnlyText = "The file is read-only, or you may not write to it";

AtomicFileWriter::FaultHook& Hook()
{
    static AtomicFileWriter::FaultHook hook;
    return hook;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Six characters that differ between calls and between processes.
std::string UniqueSuffix(unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(getpid()) << 20)
                      ^ (static_cast<std::uint64_t>(counter++) << 40)
                      ^ (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15ull);
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    std::string out(6, 'a');
    for (char& c : out) {
        c = digits[x % 36];
        x /= 36;
    }
    return out;
}

// The file a save to path replaces: symbolic links are followed to their end,
// also when that end does not exist yet (the save then creates it there), so
// that a save through a link never turns the link itself into a file. 0, or
// the errno of the failure (ELOOP for a loop).
int FollowLinks(const std::string& path, std::string& resolved)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return errno;
            resolved = current;
            return 0;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolved = current;
            return 0;
        }
        char text[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), text, sizeof text);
        if (length < 0)
            return errno;
        if (static_cast<std::size_t>(length) >= sizeof text)
            return ENAMETOOLONG;
        const std::string to(text, static_cast<std::size_t>(length));
        current = to.front() == '/' ? to : FolderOf(current) + "/" + to;
    }
    return ELOOP;
}

} // namespace

void AtomicFileWriter::SetFaultHook(FaultHook hook)
{
    Hook() = std::move(hook);
}

AtomicFileWriter::~AtomicFileWriter()
{
    Abort();
}

bool AtomicFileWriter::Fail(int number)
{
    return Fail(number, FileErrorText(number));
}

bool AtomicFileWriter::FailOnTarget(int number, std::string text)
{
    Fail(number, std::move(text));
    m_targetAtFault = true;
    return false;
}

bool AtomicFileWriter::Fail(int number, std::string text)
{
    m_targetAtFault = number == EROFS;
    m_errno = number;
    m_error = std::move(text);
    Abort();
    return false;
}

// Whether another open file description holds a lock on the target. The probe
// opens it for reading only, so neither its contents nor its times change.
bool AtomicFileWriter::TargetInUse()
{
    const int fd = ::open(m_target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false; // gone, or unreadable to us: nobody's lock to respect that we could see
    // This process holds the file for the change it is saving: its exclusive
    // lock keeps every other program out, and the probe would only find it.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && DenyWriteFile::IsHeldHere(info.st_dev, info.st_ino)) {
        ::close(fd);
        return false;
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    const bool locked = fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

bool AtomicFileWriter::Begin(const std::string& target)
{
    Abort();
    m_errno = 0;
    m_error.clear();
    m_targetAtFault = false;
    m_written = 0;
    m_target = target;
    if (target.empty())
        return Fail(ENOENT);

    if (const int error = FollowLinks(target, m_target); error != 0)
        return FailOnTarget(error, FileErrorText(error));

    struct stat info {};
    const bool exists = ::stat(m_target.c_str(), &info) == 0;
    const int statError = exists ? 0 : errno;
    if (exists) {
        if (!S_ISREG(info.st_mode))
            return FailOnTarget(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, NotAFileText(info.st_mode));
        if (::access(m_target.c_str(), W_OK) != 0)
            return FailOnTarget(errno, errno == EACCES || errno == EPERM ? kReadOnlyText : FileErrorText(errno));
        if (TargetInUse())
            return FailOnTarget(EBUSY, kInUseText);
    } else if (statError != ENOENT) {
        return FailOnTarget(statError, FileErrorText(statError));
    }

    const std::string stem = FolderOf(m_target) + "/." + NameOf(m_target) + ".";
    for (unsigned attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const std::string candidate = stem + UniqueSuffix(attempt);
        // 0666 lets the umask (and a default ACL of the folder) decide, as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_temp = candidate;
        } else if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    if (m_fd < 0)
        return Fail(EEXIST);

    if (exists) {
        // Best effort: only root may give a file away; a member of the group may keep the group.
        const bool owned =
            ::fchown(m_fd, info.st_uid, info.st_gid) == 0 || ::fchown(m_fd, static_cast<uid_t>(-1), info.st_gid) == 0;
        static_cast<void>(owned);
        if (::fchmod(m_fd, info.st_mode & 07777) != 0)
            return Fail(errno);
    }
    return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (m_fd < 0)
        return false;
    if (const int error = WriteAll(m_fd, data, size); error != 0) {
        m_errno = error;
        m_error = FileErrorText(error);
        return false;
    }
    m_written += size;
    if (Hook())
        Hook()(m_written);
    return true;
}

bool AtomicFileWriter::Seek(std::uint64_t offset)
{
    if (m_fd < 0)
        return false;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())
        || ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        m_errno = offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) ? EINVAL : errno;
        m_error = std::strerror(m_errno);
        return false;
    }
    return true;
}

bool AtomicFileWriter::Commit()
{
    if (m_fd < 0)
        return Fail(EBADF);
    if (::fsync(m_fd) != 0)
        return Fail(errno);
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        return Fail(errno);
    // Someone may have opened the old file since Begin; their lock still counts.
    if (TargetInUse())
        return FailOnTarget(EBUSY, kInUseText);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0)
        return Fail(errno);
    m_temp.clear();
    // Make the rename itself durable. Some file systems cannot sync a folder;
    // the file is in place all the same, so that is no failure.
    const int folder = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void AtomicFileWriter::Abort()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

} // namespace platform
