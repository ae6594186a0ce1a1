#include "csv/CsvExport.h"

#include "csv/CsvSeparator.h"
#include "platform/AtomicFileWriter.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string CsvLine(const GridLayout& layout, int row, char separator)
{
    std::string line;
    for (int column = 0; column < layout.Columns(); ++column) {
        if (column > 0)
            line += separator;
        line += layout.FormatCellExact(row, column + 1);
    }
    line += "\r\n";
    return line;
}

bool WriteCsv(const GridLayout& layout, char separator, const std::function<bool(std::string_view)>& write)
{
    const platform::CodePage& page = platform::AnsiCodePage();
    std::string chunk;
    for (int row = 0; row < layout.Rows(); ++row) {
        chunk += CsvLine(layout, row, separator);
        if (chunk.size() >= kChunkBytes || row + 1 == layout.Rows()) {
            // Every ANSI code page holds ASCII as it is; cell texts hardly ever leave it.
            if (!write(IsAscii(chunk) ? chunk : page.FromUtf8(chunk)))
                return false;
            chunk.clear();
        }
    }
    return true;
}

bool ExportCsv(const GridLayout& layout, const std::string& path, int filterIndex)
{
    platform::AtomicFileWriter file;
    if (!file.Begin(path))
        return false;
    const char separator = CsvExportSeparator(path, filterIndex);
    if (!WriteCsv(layout, separator,
                  [&file](std::string_view bytes) { return file.Write(bytes.data(), bytes.size()); }))
        return false;
    return file.Commit();
}
