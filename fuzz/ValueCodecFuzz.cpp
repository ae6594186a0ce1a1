// Every parse entry point of the value codec over every radix and unit, and
// the round trips: a cell's text reads back as the cell (integer radixes), a
// parsed text formats to a text that parses to the same bytes.
#include "FuzzSupport.h"

#include "codec/ValueCodec.h"

#include <array>
#include <vector>

namespace {

bool IsInteger(codec::Radix radix)
{
    return radix != codec::RADIX_FLOAT && radix != codec::RADIX_DOUBLE;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::Choices choices(data, size);
    // Out-of-range codes too: callers hand stored numbers through.
    const auto radix = static_cast<codec::Radix>(choices.Next() % 8);
    const auto unit = static_cast<codec::Unit>(choices.Next() % 5);
    const int start = static_cast<int>(choices.Next() % 40) - 4;
    const int end = static_cast<int>(choices.Next() % 40) - 4;
    const std::string_view text = choices.Rest();
    const bool known = static_cast<int>(radix) < 6 && static_cast<int>(unit) < 4;
    const std::size_t cellBytes = static_cast<std::size_t>(codec::GetCellBytes(unit));

    std::vector<std::uint8_t> cell;
    const bool valid = codec::ParseCellText(text, radix, unit, cell);
    if (cell.size() != cellBytes)
        __builtin_trap();
    std::string normalised;
    if (codec::ValidateNumberText(text, radix, unit, normalised) != !normalised.empty())
        __builtin_trap();
    std::uint64_t real = 0;
    (void)codec::ParseRealText(text, radix, real);
    std::vector<std::uint8_t> edited;
    (void)codec::ParseEditorText(text, radix, unit, edited);
    std::string inserted(text.substr(0, text.size() / 2));
    (void)codec::CheckInsertion(text.substr(text.size() / 2), radix, unit, start, end, inserted);
    (void)codec::ExpToPlain(text, start);
    (void)codec::FormatRowText({choices.Data(), choices.Size()});
    (void)codec::GetMaxCellChars(radix, unit);

    if (known && valid && IsInteger(radix)) {
        // A parsed value formats to a text that reads back as the same bytes.
        const std::string shown = codec::FormatCellValue(cell, radix, unit);
        std::vector<std::uint8_t> again;
        if (!codec::ParseCellText(shown, radix, unit, again) || again != cell)
            __builtin_trap();
    }
    if (known && choices.Size() >= cellBytes) {
        // Any cell's bytes: its text reads back as the same bytes (integers),
        // or at least formats and parses without harm (reals).
        const std::vector<std::uint8_t> raw(choices.Data(), choices.Data() + cellBytes);
        const std::string shown = codec::FormatCellValue(raw, radix, unit);
        std::vector<std::uint8_t> back;
        const bool read = codec::ParseCellText(shown, radix, unit, back);
        if (IsInteger(radix) && (!read || back != raw))
            __builtin_trap();
    }
    return 0;
}
