#pragma once

// The grid of one block as a display setting shows it: how many data columns
// and rows there are, where each cell's bytes lie, which address each row and
// cell stands for, and the texts of every list column. Window-free; the view,
// the clipboard, clear, CSV and the command-line tool all work through it.
//
// Terms used by the grid code:
// - N data columns, B bytes per cell, R rows, D data bytes, W words per address.
// - A data cell is (row, column) with column 0 to N - 1; it lies at byte offset
//   B * (N * row + column) and has a value only if all its B bytes lie inside
//   the data (the last row may end in empty cells).
// - List columns: 0 the row label, 1 to N the data columns, and in the
//   hexadecimal radix N + 1, the text column with the row's bytes as characters.

#include "model/DeviceModel.h"
#include "grid/CellRange.h"
#include "grid/DisplaySetting.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct GridCell {
    int row = 0;
    int column = 0; // data column, 0 to N - 1
    bool operator==(const GridCell&) const = default;
};

class GridLayout {
public:
    // The layout refers to block, which must outlive it and keep its bytes
    // while the layout is used. devicePrefix is the text in front of the
    // addresses of labels and status texts (see DevicePrefix.h).
    GridLayout(const CEditData& block, const DisplaySetting& setting, std::string devicePrefix = {});
    GridLayout(CEditData&&, const DisplaySetting&, std::string = {}) = delete;

    const CEditData& Block() const { return *m_block; }
    std::span<const std::uint8_t> Data() const { return m_block->Data; }
    // The setting as used (DisplaySetting::Normalised).
    const DisplaySetting& Setting() const { return m_setting; }
    codec::Radix Radix() const { return m_setting.radix; }
    codec::Unit Unit() const { return m_setting.unit; }
    const std::string& DevicePrefix() const { return m_prefix; }

    int Columns() const { return m_columns; }             // N
    int CellBytes() const { return m_cellBytes; }         // B
    int Rows() const { return m_rows; }                   // R
    std::size_t DataBytes() const { return m_dataBytes; } // D
    int MaxCellChars() const { return m_maxCellChars; }
    // Words per address; a block without a valid size counts as 1.
    int WordsPerAddress() const { return m_words; }
    bool HasTextColumn() const;
    // The last data column a selection can reach: N (the text column) in the
    // hexadecimal radix, N - 1 otherwise.
    int LastColumn() const { return HasTextColumn() ? m_columns : m_columns - 1; }
    // Label, data and text columns; 0 for a block without bytes.
    int ListColumns() const;

    // Every cell: data columns 0 to LastColumn, rows 0 to R - 1 (what
    // select-all selects).
    CellRange All() const { return {0, 0, LastColumn(), m_rows - 1}; }
    // The part of range that lies on the grid, normalised; none when nothing does.
    std::optional<CellRange> Clip(const CellRange& range) const;

    std::size_t CellOffset(int row, int column) const;
    bool HasValue(int row, int column) const;
    // The cell's B bytes, empty when it has no value.
    std::span<const std::uint8_t> CellData(int row, int column) const;
    // N * B bytes from the row's start, or the rest of the data in the last row.
    std::span<const std::uint8_t> RowData(int row) const;

    // The device address the row starts at.
    std::int64_t RowAddress(int row) const;
    // The address of a list column's cell: of the cell itself for a data
    // column, of the row's first cell for the text column; none for the label
    // column, a cell without a value or a cell outside the grid.
    std::optional<std::int64_t> CellAddress(int row, int listColumn) const;
    // The cell whose bytes begin with the first word of the address; none when
    // the address lies outside the data, inside a wider cell, or in a cell
    // without a value.
    std::optional<GridCell> CellAtAddress(std::int64_t address) const;

    // The prefix and the row address right-aligned in six places.
    std::string RowLabel(int row) const;
    // The text shown in a list column: the label, a cell's value (empty
    // without one), or the row's text. Empty outside the grid.
    std::string FormatCell(int row, int listColumn) const;
    // As FormatCell, but a data cell's text reads back as the cell's bytes,
    // which the grid's rounded text of a real may not: for the clipboard and
    // CSV files.
    std::string FormatCellExact(int row, int listColumn) const;
    // " " + prefix + address of CellAddress in six places; empty without one.
    std::string CellStatusText(int row, int listColumn) const;
    // " " + prefix + first address - last address of the block.
    std::string RangeStatusText() const;

private:
    const CEditData* m_block;
    DisplaySetting m_setting;
    std::string m_prefix;
    int m_words = 1;
    int m_cellBytes = 2;
    int m_columns = 1;
    int m_rows = 0;
    int m_maxCellChars = 0;
    std::size_t m_dataBytes = 0;
};
