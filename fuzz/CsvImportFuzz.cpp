// CSV and tab-separated import: the first bytes choose radix, unit, columns,
// separator and the size of the reads; the rest is the file.
#include "FuzzSupport.h"

#include "csv/CsvImport.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::Choices choices(data, size);
    DisplaySetting setting;
    setting.radix = static_cast<codec::Radix>(choices.Next() % 6);
    setting.unit = static_cast<codec::Unit>(choices.Next() % 4);
    setting.columnSetting = 1 + choices.Next() % 16;
    const std::uint8_t separatorChoice = choices.Next() % 3;
    const std::size_t chunk = 1 + choices.Next() % 64;
    const std::optional<char> separator = separatorChoice == 0   ? std::optional<char>(',')
                                          : separatorChoice == 1 ? std::optional<char>('\t')
                                                                 : std::nullopt;
    static const CEditData block = fuzzsupport::PatternBlock(40);
    const GridLayout layout(block, setting.Normalised());
    const std::uint8_t* rest = choices.Data();
    std::size_t left = choices.Size();
    CsvImportReport report;
    const auto bytes = ReadCsv(
        layout, separator,
        [&](std::uint8_t* buffer, std::size_t room) -> std::ptrdiff_t {
            const std::size_t count = std::min({room, left, chunk});
            std::memcpy(buffer, rest, count);
            rest += count;
            left -= count;
            return static_cast<std::ptrdiff_t>(count);
        },
        &report);
    if (!bytes || bytes->size() != block.Data.size() || report.firstInvalid.size() > report.invalidFields)
        __builtin_trap();
    return 0;
}
