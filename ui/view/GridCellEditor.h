#pragma once

#include <QObject>
#include <QString>

#include <cstddef>

class CExEditBase;
class CMemorixView;
class CNumberEdit;
class CStringEdit;
class GridModel;
class GridSelection;
class IAppState;
class IGridFrame;

// The in-place editing of one cell of the grid view: which of the two
// editors is open and over which cell, and the commit that writes its value
// into the document. The editors lie in the table's viewport over their cell
// and follow it when the table scrolls: CNumberEdit on a data cell,
// CStringEdit on the text column.
class GridCellEditor final : public QObject {
    Q_OBJECT

public:
    // Which editor is open.
    static constexpr int EDITOR_NONE = 0;
    static constexpr int EDITOR_NUMBER = 1;
    static constexpr int EDITOR_TEXT = 2;

    // Every reference must outlive the cell editor; the editors are created
    // in the view's table.
    GridCellEditor(CMemorixView& view, GridModel& model, GridSelection& selection, IAppState& app, IGridFrame& frame);

    // Opens the editor for the cell: the text editor on the text column, the
    // number editor on a data cell; nothing on a cell after the end of the
    // data or outside the grid, or while an editor is open.
    void StartEdit(int column, int row);
    // Commits and closes the open editor, then ends any range (the cursor
    // stays). A number text left as the cell showed it writes nothing (the
    // cell keeps its exact value). A text that does not convert is never written: with messages
    // the user is told (IDS_CELL_NOT_A_NUMBER, or IDS_CELL_OUT_OF_RANGE) and
    // the editor stays open, and the result is false; without, the edit is
    // dropped and the result is true. Without an open editor: true. A call
    // while a commit or its message is under way does nothing.
    bool EndEdit(bool showMessages);
    // Closes the open editor without writing anything.
    void CancelEdit();
    // The table and the editors in it are going away: forgets the open
    // editor without touching it.
    void Detach();

    // The open editor, or null.
    CExEditBase* ActiveEditor() const;
    bool IsEditing() const { return m_editing; }
    int EditorKind() const { return m_editorKind; }
    CNumberEdit& NumberEdit() const { return *m_numberEdit; }
    CStringEdit& StringEdit() const { return *m_stringEdit; }

signals:
    // An edit was committed and closed; the document and its undo history
    // may have changed.
    void EditCommitted();

private:
    // Closes the editor (no commit) and gives the table the focus.
    void CloseEditor();
    // Lays the open editor over its cell.
    void PlaceEditor();
    // Copies bytes [offset, offset + count) of the shown block into the grid.
    void ReloadBytes(std::size_t offset, std::size_t count);

    CMemorixView& m_view;
    GridModel& m_model;
    GridSelection& m_selection;
    IAppState& m_app;
    IGridFrame& m_frame;
    CNumberEdit* m_numberEdit = nullptr;
    CStringEdit* m_stringEdit = nullptr;
    bool m_editing = false;
    int m_editorKind = EDITOR_NONE;
    // A message of EndEdit is on the screen, or EndEdit is at work.
    bool m_inMessage = false;
    bool m_inEndEdit = false;
    // The cell the open editor works on (its row and data column).
    int m_editCol = 0;
    int m_editRow = 0;
    // The number editor's text when it opened.
    QString m_openedText;
};
