#pragma once

#include "model/DeviceModel.h"
#include "grid/DisplaySetting.h"
#include "grid/GridHeader.h"
#include "grid/GridLayout.h"

#include <QAbstractTableModel>

#include <optional>
#include <span>
#include <string>
#include <vector>

// The grid's table: a copy of the shown block laid out by the display
// setting. Column 0 holds the row labels, then come the data columns and, in
// the hexadecimal radix, the text column. The model only counts rows and
// columns; every text is formatted when a view asks for it, so a large block
// costs no more to show than a small one.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The cell font's height the column widths are measured for.
    static constexpr int kFontHeight = 12;

    explicit GridModel(QObject* parent = nullptr);

    // Shows block as setting says, with devicePrefix in front of the addresses;
    // rows, columns and headers are rebuilt. An empty block gives an empty table.
    void Reset(CEditData block, const DisplaySetting& setting, std::string devicePrefix);
    // New bytes for the block shown. When the rows and columns stay as they
    // are only the cells change; otherwise the table is rebuilt.
    void ReloadData(CEditData block);
    // New values for some bytes of the block shown, from offset on; only the
    // rows they lie in are redrawn. Bytes beyond the block are ignored.
    void ReloadBytes(std::size_t offset, std::span<const std::uint8_t> bytes);

    const CEditData& Block() const { return m_Data; }
    const GridLayout& Layout() const { return *m_layout; }
    // Text, width and alignment of each column, as BuildHeadInfo gives them.
    const std::vector<stListHeadInfo>& HeadInfo() const { return m_aHeadInfo; }
    // The text of a cell as the grid shows it (see GridLayout::FormatCell).
    std::string FormatCell(int row, int listColumn) const { return m_layout->FormatCell(row, listColumn); }
    // The list column of the row texts; none outside the hexadecimal radix.
    std::optional<int> TextColumn() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void Rebuild();
    Qt::Alignment CellAlignment(int listColumn) const;

    CEditData m_Data;
    DisplaySetting m_setting;
    std::string m_prefix;
    // Refers to m_Data; rebuilt whenever m_Data or the setting changes.
    std::optional<GridLayout> m_layout;
    std::vector<stListHeadInfo> m_aHeadInfo;
};
