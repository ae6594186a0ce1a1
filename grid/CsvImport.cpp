#include "grid/CsvImport.h"

#include "grid/CellWriter.h"
#include "grid/CsvSeparator.h"
#include "platform/DenyWriteFile.h"

#include <utility>

std::optional<std::vector<std::uint8_t>> ReadCsv(const GridLayout& layout, std::optional<char> separator,
                                                 CsvLineReader::ReadFunction read)
{
    CellWriter writer(layout);
    CsvLineReader reader(std::move(read), separator, layout.Columns());
    std::string line;
    for (int row = 0; row < layout.Rows() && reader.Next(line); ++row)
        writer.StoreLine(line, separator, row, 0);
    if (reader.Failed())
        return std::nullopt;
    return writer.TakeBytes();
}

std::optional<std::vector<std::uint8_t>> ImportCsv(const GridLayout& layout, const std::string& path)
{
    platform::DenyWriteFile file;
    if (!file.Open(path, platform::DenyWriteFile::Access::Read))
        return std::nullopt;
    return ReadCsv(layout, CsvImportSeparator(path), [&file](std::uint8_t* buffer, std::size_t size) -> std::ptrdiff_t {
        const std::size_t count = file.Read(buffer, size);
        return count < size && file.ErrorNumber() != 0 ? -1 : static_cast<std::ptrdiff_t>(count);
    });
}
