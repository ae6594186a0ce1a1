#pragma once

// Writing the grid to a comma- or tab-separated file: one line per row, one
// field per data cell as the grid shows it, or for a real whose shown text is
// rounded a text that reads back as its exact bits (empty after the end of
// the data),
// the separator between fields and CR LF after each line. No header, no
// quoting, no byte-order mark; the text column is not written. Files hold the
// bytes of the ANSI code page.

#include "grid/GridLayout.h"

#include <functional>
#include <string>
#include <string_view>

// The row's line in UTF-8, CR LF included.
std::string CsvLine(const GridLayout& layout, int row, char separator);

// Hands every line to write in pieces of ANSI code page bytes; stops and
// returns false as soon as write does.
bool WriteCsv(const GridLayout& layout, char separator, const std::function<bool(std::string_view)>& write);

// Writes the file at path with the separator of CsvExportSeparator. The file
// is replaced only when all of it was written; on any failure the result is
// false and an existing file stays as it was.
bool ExportCsv(const GridLayout& layout, const std::string& path, int filterIndex);
