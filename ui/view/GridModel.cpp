#include "ui/view/GridModel.h"

#include <algorithm>
#include <utility>

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    Rebuild();
}

void GridModel::Reset(CEditData block, const DisplaySetting& setting, std::string devicePrefix)
{
    beginResetModel();
    m_Data = std::move(block);
    m_setting = setting;
    m_prefix = std::move(devicePrefix);
    Rebuild();
    endResetModel();
}

void GridModel::ReloadData(CEditData block)
{
    const bool sameShape = block.Data.size() == m_Data.Data.size() && block.DataSize == m_Data.DataSize;
    if (!sameShape) {
        Reset(std::move(block), m_setting, std::move(m_prefix));
        return;
    }
    m_Data = std::move(block);
    Rebuild();
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void GridModel::ReloadBytes(std::size_t offset, std::span<const std::uint8_t> bytes)
{
    if (offset >= m_Data.Data.size() || bytes.empty())
        return;
    const std::size_t count = std::min(bytes.size(), m_Data.Data.size() - offset);
    std::copy_n(bytes.begin(), count, m_Data.Data.begin() + static_cast<std::ptrdiff_t>(offset));
    const std::size_t rowBytes = static_cast<std::size_t>(m_layout->CellBytes() * m_layout->Columns());
    if (rowBytes == 0 || rowCount() == 0)
        return;
    const int first = static_cast<int>(offset / rowBytes);
    const int last = std::min(rowCount() - 1, static_cast<int>((offset + count - 1) / rowBytes));
    emit dataChanged(index(first, 0), index(last, columnCount() - 1), {Qt::DisplayRole});
}

void GridModel::Rebuild()
{
    m_layout.emplace(m_Data, m_setting, m_prefix);
    m_aHeadInfo = BuildHeadInfo(*m_layout, kFontHeight);
}

std::optional<int> GridModel::TextColumn() const
{
    if (!m_layout->HasTextColumn() || m_layout->ListColumns() == 0)
        return std::nullopt;
    return m_layout->Columns() + 1;
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_layout->ListColumns() == 0 ? 0 : m_layout->Rows();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_layout->ListColumns();
}

Qt::Alignment GridModel::CellAlignment(int listColumn) const
{
    if (listColumn == 0)
        return Qt::AlignCenter;
    if (listColumn == TextColumn())
        return Qt::AlignLeft | Qt::AlignVCenter;
    return Qt::AlignRight | Qt::AlignVCenter;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(FormatCell(index.row(), index.column()));
    case Qt::TextAlignmentRole: return CellAlignment(index.column()).toInt();
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_aHeadInfo.size()))
        return {};
    const stListHeadInfo& head = m_aHeadInfo[static_cast<std::size_t>(section)];
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(head.Text);
    case Qt::TextAlignmentRole:
        return (head.Format == HEAD_CENTRE ? Qt::Alignment(Qt::AlignCenter) : Qt::AlignLeft | Qt::AlignVCenter).toInt();
    default: return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
