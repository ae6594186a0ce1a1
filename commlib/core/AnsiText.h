#pragma once

#include <cstddef>
#include <cstring>
#include <string>

namespace commlib {

// Copies text into a caller's fixed buffer, cut to fit and NUL-terminated.
inline void CopyToBuffer(const std::string& text, char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return;
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// Reads a caller's fixed ANSI buffer, which need not be NUL-terminated.
inline std::string FromBuffer(const char* buffer, std::size_t size)
{
    if (!buffer)
        return {};
    return std::string(buffer, strnlen(buffer, size));
}

} // namespace commlib
