#include "csv/CsvSeparator.h"

#include <algorithm>
#include <cctype>

namespace {

bool HasExtension(std::string_view path, std::string_view extension)
{
    const std::size_t dot = path.rfind('.');
    const std::string_view own = dot == std::string_view::npos ? path : path.substr(dot);
    return std::equal(own.begin(), own.end(), extension.begin(), extension.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

char CsvExportSeparator(std::string_view path, int filterIndex)
{
    if (HasExtension(path, ".csv"))
        return ',';
    if (HasExtension(path, ".txt"))
        return '\t';
    return filterIndex == 1 ? ',' : '\t';
}

std::optional<char> CsvImportSeparator(std::string_view path)
{
    if (HasExtension(path, ".csv"))
        return ',';
    if (HasExtension(path, ".txt"))
        return '\t';
    return std::nullopt;
}
