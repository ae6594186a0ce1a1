#pragma once

// What the fuzz targets share: a scratch file for readers that take a path,
// and a reader of the leading bytes that choose a target's settings.

#include "model/DeviceModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzzsupport {

// A file of this process under the fastest temporary folder, rewritten for
// every input.
inline const std::string& ScratchPath(const char* name)
{
    static const std::string folder = [] {
        std::string base =
            access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
        std::string pattern = base + "/memorix-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    static const std::string path = folder + "/" + name;
    return path;
}

inline void WriteScratch(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
}

// Takes the input's leading bytes one at a time (0 once they run out).
class Choices {
public:
    Choices(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint8_t Next()
    {
        if (m_size == 0)
            return 0;
        --m_size;
        return *m_data++;
    }
    std::string_view Rest() const { return {reinterpret_cast<const char*>(m_data), m_size}; }
    const std::uint8_t* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

// A DT block of words count words from address start, filled with a pattern.
inline CEditData PatternBlock(int words, std::int32_t dataSize = 1, std::int32_t start = 0)
{
    CEditData block;
    block.Id = DeviceCode::DT;
    block.StartAddr = start;
    block.DataSize = dataSize;
    block.EndAddr = start + words / dataSize - 1;
    block.Data.resize(static_cast<std::size_t>(words / dataSize * dataSize) * 2);
    for (std::size_t i = 0; i < block.Data.size(); ++i)
        block.Data[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return block;
}

} // namespace fuzzsupport
