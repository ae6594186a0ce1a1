#include "transfer/FixedText.h"

#include <algorithm>
#include <cstring>

std::vector<char> ZeroedText(const std::string& text, std::size_t size)
{
    std::vector<char> buffer(size, '\0');
    if (size > 0)
        std::memcpy(buffer.data(), text.data(), std::min(text.size(), size - 1));
    return buffer;
}

std::string TextOf(const char* buffer, std::size_t size)
{
    const char* end = std::find(buffer, buffer + size, '\0');
    return std::string(buffer, end);
}
