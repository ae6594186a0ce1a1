#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string NotAFileText(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return "It is a folder, not a file";
    if (S_ISFIFO(mode))
        return "It is a named pipe (FIFO), not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "It is a device, not a file";
    if (S_ISSOCK(mode))
        return "It is a socket, not a file";
    return "It is not a regular file";
}

std::string FileErrorText(int number)
{
    switch (number) {
    case ELOOP: return "The path is a loop of symbolic links";
    case EROFS: return "The file system is read-only";
    case ENOSPC: return "The disk is full";
    case EDQUOT: return "The disk quota is used up";
    default: return std::strerror(number);
    }
}

namespace {

int Refuse(FileFailure& failure, mode_t mode)
{
    failure.number = S_ISDIR(mode) ? EISDIR : EINVAL;
    failure.text = NotAFileText(mode);
    return -1;
}

} // namespace

int OpenRegularFile(const std::string& path, int flags, mode_t mode, FileFailure& failure)
{
    failure = {};
    // Look before opening: opening some devices already does something (a
    // serial line, a tape), and a pipe opened for writing fails without a reader.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return Refuse(failure, info.st_mode);
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        failure.number = errno;
        failure.text = FileErrorText(failure.number);
        return -1;
    }
    // The path may have become something else since the look.
    if (::fstat(fd, &info) != 0) {
        failure.number = errno;
        failure.text = FileErrorText(failure.number);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Refuse(failure, info.st_mode);
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        failure.number = errno;
        failure.text = FileErrorText(failure.number);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace platform
