#include "platform/TempFile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform {

std::string TempFolder()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : folder.string();
}

std::string CreateTempFileName(const std::string& folder, const std::string& prefix)
{
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '/')
        pattern += '/';
    pattern += prefix + "XXXXXX.tmp";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemps(buffer.data(), 4);
    if (fd < 0)
        return {};
    close(fd);
    return std::string(buffer.data());
}

} // namespace platform
