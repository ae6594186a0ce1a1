#include "grid/GridLayout.h"

#include "codec/ValueCodec.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <numeric>
#include <utility>

namespace {

// Larger sizes only come from a damaged record; they would make rows of
// absurd width, so such a block is shown as one word per address.
constexpr int kMaxWordsPerAddress = 0x8000;

// The smallest count n >= setting (doubled for 8-bit cells) for which a row of
// n cells ends on an address boundary, so every row starts at an address.
int EffectiveColumns(const DisplaySetting& setting, int cellBytes, int words)
{
    int n = setting.columnSetting;
    if (setting.unit == codec::UNIT_8BIT)
        n *= 2;
    const int addressBytes = 2 * words;
    const int step = addressBytes / std::gcd(cellBytes, addressBytes);
    return (n + step - 1) / step * step;
}

// The prefix followed by the address right-aligned in six places.
std::string AddressText(const std::string& prefix, std::int64_t address)
{
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%6lld", static_cast<long long>(address));
    return prefix + std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

} // namespace

GridLayout::GridLayout(const CEditData& block, const DisplaySetting& setting, std::string devicePrefix)
    : m_block(&block)
    , m_setting(setting.Normalised())
    , m_prefix(std::move(devicePrefix))
{
    m_words = block.DataSize >= 1 && block.DataSize <= kMaxWordsPerAddress ? block.DataSize : 1;
    m_cellBytes = codec::GetCellBytes(m_setting.unit);
    m_maxCellChars = codec::GetMaxCellChars(m_setting.radix, m_setting.unit);
    m_columns = EffectiveColumns(m_setting, m_cellBytes, m_words);
    m_dataBytes = block.Data.size();
    const std::size_t rowBytes = static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_cellBytes);
    const std::size_t rows = (m_dataBytes + rowBytes - 1) / rowBytes;
    m_rows = rows > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(rows);
}

bool GridLayout::HasTextColumn() const
{
    return m_setting.radix == codec::RADIX_HEX;
}

int GridLayout::ListColumns() const
{
    return m_dataBytes == 0 ? 0 : 1 + m_columns + (HasTextColumn() ? 1 : 0);
}

std::optional<CellRange> GridLayout::Clip(const CellRange& range) const
{
    const CellRange wanted = range.Normalised();
    const CellRange all = All();
    const CellRange clipped{std::max(wanted.left, all.left), std::max(wanted.top, all.top),
                            std::min(wanted.right, all.right), std::min(wanted.bottom, all.bottom)};
    if (clipped.left > clipped.right || clipped.top > clipped.bottom)
        return std::nullopt;
    return clipped;
}

std::size_t GridLayout::CellOffset(int row, int column) const
{
    const auto index =
        static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(row) + static_cast<std::size_t>(column);
    return static_cast<std::size_t>(m_cellBytes) * index;
}

bool GridLayout::HasValue(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return false;
    return CellOffset(row, column) + static_cast<std::size_t>(m_cellBytes) <= m_dataBytes;
}

std::span<const std::uint8_t> GridLayout::CellData(int row, int column) const
{
    if (!HasValue(row, column))
        return {};
    return Data().subspan(CellOffset(row, column), static_cast<std::size_t>(m_cellBytes));
}

std::span<const std::uint8_t> GridLayout::RowData(int row) const
{
    if (row < 0 || row >= m_rows)
        return {};
    const std::size_t start = CellOffset(row, 0);
    const std::size_t rowBytes = static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_cellBytes);
    return Data().subspan(start, std::min(rowBytes, m_dataBytes - start));
}

std::int64_t GridLayout::RowAddress(int row) const
{
    const std::int64_t addressesPerRow = std::int64_t{m_columns} * m_cellBytes / (2 * m_words);
    return std::int64_t{m_block->StartAddr} + addressesPerRow * row;
}

std::optional<std::int64_t> GridLayout::CellAddress(int row, int listColumn) const
{
    if (HasTextColumn() && listColumn == m_columns + 1 && row >= 0 && row < m_rows)
        return RowAddress(row);
    if (listColumn < 1 || !HasValue(row, listColumn - 1))
        return std::nullopt;
    const auto offset = static_cast<std::int64_t>(CellOffset(row, listColumn - 1));
    return std::int64_t{m_block->StartAddr} + offset / (2 * m_words);
}

std::optional<GridCell> GridLayout::CellAtAddress(std::int64_t address) const
{
    const std::int64_t relative = address - m_block->StartAddr;
    if (relative < 0 || relative > static_cast<std::int64_t>(m_dataBytes))
        return std::nullopt;
    const std::int64_t offset = relative * 2 * m_words;
    if (offset % m_cellBytes != 0)
        return std::nullopt;
    const std::int64_t index = offset / m_cellBytes;
    const GridCell cell{static_cast<int>(index / m_columns), static_cast<int>(index % m_columns)};
    if (!HasValue(cell.row, cell.column))
        return std::nullopt;
    return cell;
}

std::string GridLayout::RowLabel(int row) const
{
    return AddressText(m_prefix, RowAddress(row));
}

std::string GridLayout::FormatCell(int row, int listColumn) const
{
    if (row < 0 || row >= m_rows)
        return {};
    if (listColumn == 0)
        return RowLabel(row);
    if (listColumn >= 1 && listColumn <= m_columns)
        return codec::FormatCellValue(CellData(row, listColumn - 1), m_setting.radix, m_setting.unit);
    if (HasTextColumn() && listColumn == m_columns + 1)
        return codec::FormatRowText(RowData(row));
    return {};
}

std::string GridLayout::FormatCellExact(int row, int listColumn) const
{
    if (row >= 0 && row < m_rows && listColumn >= 1 && listColumn <= m_columns)
        return codec::FormatExactCellValue(CellData(row, listColumn - 1), m_setting.radix, m_setting.unit);
    return FormatCell(row, listColumn);
}

std::string GridLayout::CellStatusText(int row, int listColumn) const
{
    const std::optional<std::int64_t> address = CellAddress(row, listColumn);
    return address ? AddressText(" " + m_prefix, *address) : std::string();
}

std::string GridLayout::RangeStatusText() const
{
    return AddressText(" " + m_prefix, m_block->StartAddr) + " - " + AddressText({}, m_block->EndAddr);
}
