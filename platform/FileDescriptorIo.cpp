#include "platform/FileDescriptorIo.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

int WriteAll(int fd, const void* data, std::size_t size)
{
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        if (fd < 0)
            return EBADF;
        const ssize_t n = ::write(fd, in + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace platform
