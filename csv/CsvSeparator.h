#pragma once

// Which character separates the cells of a CSV or text file, by the file's
// extension: the text from the last '.' of the path on (the whole path when it
// has none), compared without regard to case.

#include <optional>
#include <string_view>

// ".csv" a comma, ".txt" a tab; any other extension a comma when the first
// filter of the save dialog was chosen (filterIndex 1) and a tab otherwise.
char CsvExportSeparator(std::string_view path, int filterIndex);

// ".csv" a comma, ".txt" a tab; none for any other extension, so that each
// line is one field.
std::optional<char> CsvImportSeparator(std::string_view path);
