#include "grid/CellWriter.h"

#include "codec/ValueCodec.h"

#include <algorithm>

CellWriter::CellWriter(const GridLayout& layout)
    : m_layout(layout)
    , m_bytes(layout.Data().begin(), layout.Data().end())
{
}

void CellWriter::StoreLine(std::string_view line, std::optional<char> separator, int row, int firstColumn)
{
    std::size_t start = 0;
    for (int column = firstColumn; column < m_layout.Columns(); ++column) {
        const std::size_t end = separator ? line.find(*separator, start) : std::string_view::npos;
        std::string_view field = line.substr(start, end == std::string_view::npos ? end : end - start);
        field = field.substr(0, field.find('\n'));
        if (!m_layout.HasValue(row, column))
            return;
        StoreCell(field, row, column);
        if (end == std::string_view::npos)
            return;
        start = end + 1;
    }
}

bool CellWriter::StoreCell(std::string_view text, int row, int column)
{
    const bool valid = codec::ParseCellText(text, m_layout.Radix(), m_layout.Unit(), m_cell);
    const std::size_t count = std::min(m_cell.size(), static_cast<std::size_t>(m_layout.CellBytes()));
    std::copy_n(m_cell.begin(), count, m_bytes.begin() + static_cast<std::ptrdiff_t>(m_layout.CellOffset(row, column)));
    return valid;
}
