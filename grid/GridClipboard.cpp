#include "grid/GridClipboard.h"

#include "grid/CellWriter.h"

#include <algorithm>

namespace {

void AppendRowText(std::string& out, std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, '.');
    out += text;
}

} // namespace

std::string CopyText(const GridLayout& layout, const CellRange& range)
{
    const std::optional<CellRange> cells = layout.Clip(range);
    std::string text;
    if (!cells)
        return text;
    for (int row = cells->top; row <= cells->bottom; ++row) {
        for (int column = cells->left; column <= cells->right; ++column) {
            if (column < layout.Columns())
                text += layout.FormatCellExact(row, column + 1);
            else
                AppendRowText(text, layout.FormatCell(row, column + 1));
            text += column == cells->right ? "\r\n" : "\t";
        }
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> PasteText(const GridLayout& layout, std::string_view text, GridCell start)
{
    if (start.row < 0 || start.row >= layout.Rows() || start.column < 0 || start.column >= layout.Columns())
        return std::nullopt;
    text = text.substr(0, text.find('\0'));
    CellWriter writer(layout);
    int row = start.row;
    std::size_t pos = 0;
    while (pos < text.size() && row < layout.Rows()) {
        const std::size_t end = text.find("\r\n", pos);
        writer.StoreLine(text.substr(pos, end == std::string_view::npos ? end : end - pos), '\t', row, start.column);
        pos = end == std::string_view::npos ? text.size() : end + 2;
        ++row;
    }
    return writer.TakeBytes();
}

std::optional<std::vector<std::uint8_t>> PasteText(const GridLayout& layout, std::string_view text,
                                                   const CellRange& selection)
{
    const CellRange cells = selection.Normalised();
    return PasteText(layout, text, GridCell{cells.top, cells.left});
}
