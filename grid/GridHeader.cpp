#include "grid/GridHeader.h"

#include "codec/ValueCodec.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Each step of the widths keeps its own precision: single where the font
// measure is scaled, double elsewhere. The pixel results depend on it.

int ToPixels(double width)
{
    return static_cast<int>(std::clamp(width, 0.0, static_cast<double>(INT_MAX)));
}

int LabelWidth(float half)
{
    return ToPixels(static_cast<double>(half * 8) * 1.6);
}

int DataWidth(float half, codec::Radix radix, int maxCellChars, int columnSetting)
{
    int chars = radix == codec::RADIX_FLOAT ? 10 : radix == codec::RADIX_DOUBLE ? 18 : maxCellChars;
    if (columnSetting >= 11)
        chars = std::max(chars, 3); // many narrow columns: room for the header "+10" to "+15"
    const float scaled = static_cast<float>(chars) * half;
    const auto shrink = static_cast<float>(std::pow(static_cast<double>(0.98f), chars));
    return ToPixels(static_cast<double>(scaled) * 2.1 * std::max(0.5, static_cast<double>(shrink)));
}

int TextWidth(float half, int rowBytes)
{
    return ToPixels(static_cast<double>(static_cast<float>(rowBytes) * half) * 1.1 + 10);
}

} // namespace

std::vector<stListHeadInfo> BuildHeadInfo(const GridLayout& layout, int fontHeight)
{
    std::vector<stListHeadInfo> columns;
    if (layout.DataBytes() == 0)
        return columns;
    const float half = static_cast<float>(fontHeight) * 0.5f;
    const int n = layout.Columns();
    const int b = layout.CellBytes();
    const int addressBytes = 2 * layout.WordsPerAddress();
    const DisplaySetting& setting = layout.Setting();

    columns.reserve(static_cast<std::size_t>(layout.ListColumns()));
    columns.push_back({std::string(), LabelWidth(half), HEAD_CENTRE});
    const int dataWidth = DataWidth(half, setting.radix, layout.MaxCellChars(), setting.columnSetting);
    for (int j = 0; j < n; ++j) {
        const int offset = j * b;
        std::string text;
        if (offset % addressBytes == 0)
            text.append(1, '+').append(std::to_string(offset / addressBytes));
        columns.push_back({std::move(text), dataWidth, HEAD_CENTRE});
    }
    if (layout.HasTextColumn())
        columns.push_back({TextColumnHeader(n * b / 2), TextWidth(half, n * b), HEAD_LEFT});
    return columns;
}

std::string TextColumnHeader(int words)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(std::max(words, 0)) * 2);
    for (int w = 0; w < words; ++w) {
        text += '+';
        text += static_cast<char>('0' + w % 10);
    }
    return text;
}
