#pragma once

#include "model/DeviceModel.h"
#include "grid/DevicePrefix.h"
#include "grid/DisplaySetting.h"
#include "ui/view/GridCellEditor.h"
#include "ui/view/GridEditCommands.h"
#include "ui/view/GridNavigation.h"
#include "ui/view/GridSelection.h"
#include "ui/view/IEditOwner.h"
#include "resources/ResourceIds.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <span>
#include <utility>
#include <string>
#include <vector>

class ChangeMarks;
class CExEditBase;
class CNumberEdit;
class CStringEdit;
class IAppState;
class GridDelegate;
class GridInputFilter;
class GridModel;
class IGridFrame;
class QTableView;
struct FoundCells;
namespace compare {
class Comparison;
}

// The grid view: shows the block of the device and bank chosen in the main
// frame's data tool bar as a table of row labels, data cells in the chosen
// radix and unit, and in the hexadecimal radix a text column. The table
// (object name kListName) is virtual: it knows only how many rows there are
// and formats the texts of the cells it draws. The view keeps the display
// settings, the scrolling and the status texts.
//
// The cursor is the view's own (Selection()): the table's current index and
// selection are never used, and every key and mouse event on the table goes
// through the view first (GridInputFilter). A cell is edited in place by
// GridCellEditor; the Edit commands and the context menu are
// GridEditCommands. The view forwards their operations for its callers.
class CMemorixView final : public QWidget, public IEditOwner {
    Q_OBJECT

public:
    // Where a mouse position lies (HitTestCell).
    static constexpr int HIT_CELL = 0;
    static constexpr int HIT_ABOVE = 1;
    static constexpr int HIT_BELOW = 2;
    static constexpr int HIT_OUTSIDE = 3;

    // The object name of the table: its control id res::IDC_GRID_LIST.
    static inline const QString kListName = QString::number(res::IDC_GRID_LIST);

    // Starts with the default setting (hexadecimal, 16-bit, 8 columns) as far
    // as the frame's boxes do not choose another. The grid is built by the
    // first OnUpdate. app and frame must outlive the view.
    CMemorixView(IAppState& app, IGridFrame& frame, QWidget* parent = nullptr);
    ~CMemorixView() override;
    CMemorixView(const CMemorixView&) = delete;
    CMemorixView& operator=(const CMemorixView&) = delete;

    // Called by the document when it builds or loads its blocks: back to the
    // defaults, no label names, then the radix, unit and column boxes' choices.
    void ResetFromCombos();
    // The names the row labels use, one per device of the list.
    void SetDispDevStrings(const DeviceInfoArray& devices);

    // The first update after the view was created.
    void OnInitialUpdate();
    // The document changed as a whole: the undo histories start again from it,
    // then the grid is rebuilt.
    void OnUpdate();

    // Rebuilds the grid: block, columns, rows, cursor and status texts.
    void RefreshView();
    // Takes a new copy of the shown block from the document after its data
    // changed; the columns stay. False without a document or without the block.
    bool ReloadFromDocument();

    // Moves the cursor for one key (see Navigate in GridNavigation.h); after a
    // move the cell is scrolled into view, the status shows it and the table
    // is redrawn. False when the move is impossible.
    bool Navigate(NavKey key, bool shift, bool ctrl);
    // Scrolls the table just enough to show the current cell whole (with the
    // row label for column 0 and the text column for the last data column).
    void ScrollCellIntoView();
    // Scrolls the row into view unless some of it is visible already.
    void MakeRowVisible(int row);
    // The table's count of fully visible rows, at least 1.
    int RowsPerPage() const;

    // The cell editor's operations (see GridCellEditor).
    void StartEdit(int column, int row)
    {
        if (!RefusedWhileReadOnly())
            m_cellEditor->StartEdit(column, row);
    }
    bool EndEdit(bool showMessages) { return m_cellEditor->EndEdit(showMessages); }
    void CancelEdit() { m_cellEditor->CancelEdit(); }
    CExEditBase* GetActiveEditor() const { return m_cellEditor->ActiveEditor(); }
    bool IsEditing() const { return m_cellEditor->IsEditing(); }
    int EditorKind() const { return m_cellEditor->EditorKind(); }
    CNumberEdit& NumberEdit() const { return m_cellEditor->NumberEdit(); }
    CStringEdit& StringEdit() const { return m_cellEditor->StringEdit(); }

    // Where a point (global coordinates) lies: on a data or text cell (column
    // and row set), above the table or on its header, below it, or elsewhere.
    int HitTestCell(const QPoint& global, int& column, int& row) const;

    // The Edit commands and the context menu (see GridEditCommands).
    void SelectAll() { m_commands->SelectAll(); }
    bool CopyToClipboard() { return m_commands->CopyToClipboard(); }
    void CutToClipboard()
    {
        if (!RefusedWhileReadOnly())
            m_commands->CutToClipboard();
    }
    void ClearSelection()
    {
        if (!RefusedWhileReadOnly())
            m_commands->ClearSelection();
    }
    void PasteFromClipboard()
    {
        if (!RefusedWhileReadOnly())
            m_commands->PasteFromClipboard();
    }
    bool PasteText(const std::string& text) { return !RefusedWhileReadOnly() && m_commands->PasteText(text); }
    void OnEditUndo()
    {
        if (!RefusedWhileReadOnly())
            m_commands->OnEditUndo();
    }
    void OnEditRedo()
    {
        if (!RefusedWhileReadOnly())
            m_commands->OnEditRedo();
    }
    bool CanUndo() const { return m_commands->CanUndo(); }
    bool CanRedo() const { return m_commands->CanRedo(); }
    void OnCommand(int id);
    void ShowContextMenu(QPoint global) { m_commands->ShowContextMenu(global); }
    bool ApplyWrite(std::size_t offset, const std::vector<std::uint8_t>& bytes)
    {
        return !RefusedWhileReadOnly() && m_commands->ApplyWrite(offset, bytes);
    }
    // Draws the cells' marks of a comparison (null: none) and redraws the grid.
    void SetComparison(const compare::Comparison* comparison);
    bool IsComparing() const { return m_comparison != nullptr; }
    // Marks the matches of Find All (null: none) and redraws the grid.
    void SetFoundCells(const FoundCells* found);

    // While the PLC is monitored the grid shows what it reads: every change
    // through the grid is refused (EditRefused) instead.
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsReadOnly() const { return m_readOnly; }
    // Marks the words monitoring saw change (null: none).
    void SetChangeMarks(const ChangeMarks* marks);
    // The first and last row the table shows, at least in part; (0, -1) without rows.
    std::pair<int, int> VisibleRows() const;
    // Shows bytes the document's shown block now holds at offset (no undo step).
    void ShowBlockBytes(std::size_t offset, std::span<const std::uint8_t> bytes);

    // IEditOwner
    codec::Radix EditRadix() const override { return m_nRadix; }
    codec::Unit EditDataUnit() const override { return m_nDataUnit; }
    const MxMenuResource* FindMenu(int id) const override;

signals:
    // The document or the undo history changed through the view: whatever
    // shows the enable state of undo and redo should look again.
    void CommandStateChanged();
    // A command of the grid's context menu that the frame carries out.
    void FrameCommand(int id);
    // Esc on the table, with no editor open, while a comparison is shown.
    void EscapePressed();
    // A change through the grid was refused because it is read-only.
    void EditRefused();

public:
    // The text of a cell of list column listColumn (0 label, 1 to N data, N + 1 text).
    std::string FormatCell(int row, int listColumn) const;
    // The cell's rectangle in the table's viewport.
    QRect GetCellRect(int row, int listColumn) const;
    // The label prefix of a device: its name in the list, or its built-in name.
    std::string GetDevicePrefix(std::uint8_t code) const;

    // The data tool bar's boxes changed. Each handler does nothing when the
    // value is the one already shown.
    void OnRadixChanged(int index);
    void OnDataUnitChanged(int unit);
    void OnDeviceChanged(std::uint8_t code);
    void OnColumnsChanged(int count);
    void OnBankChanged(std::uint16_t bank);

    // The cursor: one cell, or a range from the anchor to the end (data
    // columns, N for the text column). The cells are redrawn and the status
    // shows the current cell's address.
    void SelectCell(int row, int column);
    void SelectRange(int anchorRow, int anchorColumn, int endRow, int endColumn);
    const GridSelection& Selection() const { return m_Sel; }

    QTableView& List() const { return *m_List; }
    const GridModel& Model() const { return *m_pModel; }
    DisplaySetting Setting() const { return {m_nRadix, m_nDataUnit, m_nColumnSetting}; }
    std::uint8_t DeviceCode() const { return m_DeviceCode; }
    std::uint16_t BankNo() const { return m_BankNo; }

    // What the view's controllers (cell editor, edit commands, input) use.

    // Redraws the table where the cursor or range was and is now (whole: all
    // of it) and shows the current cell in the status bar; called after every
    // change of the selection.
    void SelectionChanged(bool whole = false);
    // Writes bytes at offset into the shown block; false without a document.
    bool WriteBlock(std::size_t offset, const std::vector<std::uint8_t>& bytes);
    // The document's block of the shown device and bank, or null.
    const CEditData* FindShownBlock() const;
    // Shows the current cell's address in the status bar.
    void UpdateCellStatus();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ReadCombos();
    // The part of the viewport the selection covers.
    QRect SelectionRect() const;
    bool InitColumns(const CEditData* block);
    void ApplyColumnWidths();
    void UpdateRangeStatus();
    void SetStatus(int pane, const std::string& text);
    // True (after EditRefused) when the grid is read-only.
    bool RefusedWhileReadOnly();

    IAppState& m_app;
    IGridFrame& m_frame;
    QTableView* m_List = nullptr;
    GridModel* m_pModel = nullptr;
    GridDelegate* m_pDelegate = nullptr;
    const compare::Comparison* m_comparison = nullptr;
    QFont m_CellFont;
    GridSelection m_Sel;
    std::vector<stDispDevString> m_aDispDevString;
    codec::Radix m_nRadix = codec::RADIX_HEX;
    codec::Unit m_nDataUnit = codec::UNIT_16BIT;
    int m_nColumnSetting = 8;
    std::uint8_t m_DeviceCode = 0;
    std::uint16_t m_BankNo = 0;

    GridCellEditor* m_cellEditor = nullptr;
    GridEditCommands* m_commands = nullptr;
    GridInputFilter* m_pInput = nullptr;
    // Where the selection was drawn last, and the scroll position then.
    QRect m_rcLastSelection;
    QPoint m_ptLastScroll{-1, -1};
    bool m_readOnly = false;
};
