#pragma once

#include <QObject>
#include <QPoint>

#include <string>

class CMemorixView;
class GridCellEditor;
class GridSelection;
class IAppState;
class IGridFrame;

// The Edit commands of the grid view on its selection: select all, the
// clipboard, clear, undo and redo on the shown block's history, and the
// context menu IDR_GRID_CONTEXT that offers them. While a cell editor is
// open, the commands go to the editor instead.
class GridEditCommands final : public QObject {
    Q_OBJECT

public:
    // Every reference must outlive the commands.
    GridEditCommands(CMemorixView& view, GridSelection& selection, const GridCellEditor& cellEditor, IAppState& app,
                     IGridFrame& frame);

    // The selection commands; each does nothing while an editor is open or
    // when the grid has no rows. Each change is recorded for undo.
    void SelectAll();
    bool CopyToClipboard();
    void CutToClipboard();
    void ClearSelection();
    void PasteFromClipboard();
    // Pastes text (lines ended by CR LF) at the selection's top left cell;
    // false when nothing could be pasted there.
    bool PasteText(const std::string& text);

    // Undo and redo on the shown block's history; nothing while editing.
    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const;
    bool CanRedo() const;

    // One of the Edit commands (res::ID_EDIT_CLEAR to res::ID_EDIT_REDO).
    // While an editor is open, its own edit commands go to it (redo does
    // nothing).
    void OnCommand(int id);
    // The context menu at a global point; a point with a negative coordinate
    // (the keyboard's) means the bottom-right corner of the current cell.
    void ShowContextMenu(QPoint global);
    // Writes bytes at offset into the shown block as one undo step; false
    // while an editor is open or without a document.
    bool ApplyWrite(std::size_t offset, const std::vector<std::uint8_t>& bytes);

signals:
    // The document or the undo history changed.
    void DocumentChanged();
    // A command of the context menu that is not an edit command (the frame's).
    void OtherCommand(int id);

private:
    // After a change through the commands: a new undo snapshot, the grid reloaded.
    void AfterChange();

    CMemorixView& m_view;
    GridSelection& m_selection;
    const GridCellEditor& m_cellEditor;
    IAppState& m_app;
    IGridFrame& m_frame;
};
