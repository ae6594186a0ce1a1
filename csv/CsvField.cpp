#include "csv/CsvField.h"

std::size_t NextCsvField(std::string_view line, std::size_t start, std::optional<char> separator, std::string& field)
{
    field.clear();
    std::size_t pos = start;
    if (pos < line.size() && line[pos] == '"') {
        ++pos;
        while (pos < line.size()) {
            const char c = line[pos++];
            if (c != '"') {
                field += c;
            } else if (pos < line.size() && line[pos] == '"') {
                field += '"';
                ++pos;
            } else {
                break;
            }
        }
    }
    const std::size_t end = separator ? line.find(*separator, pos) : std::string_view::npos;
    field.append(line.substr(pos, end == std::string_view::npos ? end : end - pos));
    return end == std::string_view::npos ? end : end + 1;
}
