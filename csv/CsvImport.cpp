#include "csv/CsvImport.h"

#include "grid/CellWriter.h"
#include "csv/CsvField.h"
#include "csv/CsvSeparator.h"
#include "platform/DenyWriteFile.h"

#include <utility>

std::optional<std::vector<std::uint8_t>> ReadCsv(const GridLayout& layout, std::optional<char> separator,
                                                 CsvLineReader::ReadFunction read, CsvImportReport* report)
{
    CellWriter writer(layout);
    CsvLineReader reader(std::move(read), separator, layout.Columns());
    CsvImportReport found;
    std::string line;
    std::string field;
    for (int row = 0; row < layout.Rows() && reader.Next(line); ++row) {
        std::size_t start = 0;
        for (int column = 0; column < layout.Columns() && layout.HasValue(row, column); ++column) {
            const std::size_t next = NextCsvField(line, start, separator, field);
            if (!writer.StoreCell(field, row, column) && !field.empty()) {
                if (found.firstInvalid.size() < CsvImportReport::kKeptPositions)
                    found.firstInvalid.push_back({row + 1, column + 1});
                ++found.invalidFields;
            }
            if (next == std::string::npos)
                break;
            start = next;
        }
    }
    if (reader.Failed())
        return std::nullopt;
    if (report)
        *report = std::move(found);
    return writer.TakeBytes();
}

std::optional<std::vector<std::uint8_t>> ImportCsv(const GridLayout& layout, const std::string& path,
                                                   CsvImportReport* report)
{
    platform::DenyWriteFile file;
    if (!file.Open(path, platform::DenyWriteFile::Access::Read)) {
        if (report)
            report->failure = file.ErrorText();
        return std::nullopt;
    }
    auto bytes = ReadCsv(
        layout, CsvImportSeparator(path),
        [&file](std::uint8_t* buffer, std::size_t size) -> std::ptrdiff_t {
            const std::size_t count = file.Read(buffer, size);
            return count < size && file.ErrorNumber() != 0 ? -1 : static_cast<std::ptrdiff_t>(count);
        },
        report);
    if (!bytes && report)
        report->failure = file.ErrorText();
    return bytes;
}
