#pragma once

#include <cstddef>

namespace platform {

// Writes all size bytes to the descriptor, going on after interrupted and
// partial writes. 0 on success, else the errno of the failure.
int WriteAll(int fd, const void* data, std::size_t size);

} // namespace platform
