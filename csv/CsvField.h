#pragma once

// One field of a CSV line as spreadsheets write it: a field that begins with a
// double quote runs to the matching closing quote, may hold separators and
// line ends, and "" inside stands for one quote. Text after the closing quote
// up to the next separator is kept as it stands; a quote that is never closed
// runs to the end of the line. A field that does not begin with a quote is
// taken as it stands, quotes included.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Reads the field that starts at line[start] into field and returns where the
// next field starts, or npos when this was the line's last field. separator
// none: the whole rest of the line is one field.
std::size_t NextCsvField(std::string_view line, std::size_t start, std::optional<char> separator, std::string& field);
