#pragma once

#include "core/model/DeviceModel.h"
#include "grid/DevicePrefix.h"
#include "grid/DisplaySetting.h"
#include "grid/qt/GridSelection.h"

#include <QFont>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class IAppState;
class GridDelegate;
class GridModel;
class IGridFrame;
class QTableView;

// The grid view: shows the block of the device and bank chosen in the main
// frame's data tool bar as a table of row labels, data cells in the chosen
// radix and unit, and in the hexadecimal radix a text column. The table
// (object name "602") is virtual: it knows only how many rows there are and
// formats the texts of the cells it draws.
class CMemorixView final : public QWidget {
    Q_OBJECT

public:
    // The object name of the table, as the dialog resources number it.
    static constexpr const char* kListName = "602";

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

    // Commits and closes the open in-cell editor; false when its text cannot
    // be committed. Without an open editor there is nothing to commit: true.
    bool EndEdit(bool showMessages);

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
    const QFont& CellFont() const { return m_CellFont; }
    int HeaderHeight() const { return m_nHeaderHeight; }

private:
    void ReadCombos();
    const CEditData* FindShownBlock() const;
    bool InitColumns(const CEditData* block);
    void ApplyColumnWidths();
    void UpdateCellStatus();
    void UpdateRangeStatus();
    void SetStatus(int pane, const std::string& text);

    IAppState& m_app;
    IGridFrame& m_frame;
    QTableView* m_List = nullptr;
    GridModel* m_pModel = nullptr;
    GridDelegate* m_pDelegate = nullptr;
    QFont m_CellFont;
    GridSelection m_Sel;
    std::vector<stDispDevString> m_aDispDevString;
    int m_nRadix = 3;
    int m_nDataUnit = 1;
    int m_nColumnSetting = 8;
    int m_nHeaderHeight = 0;
    std::uint8_t m_DeviceCode = 0;
    std::uint16_t m_BankNo = 0;
};
