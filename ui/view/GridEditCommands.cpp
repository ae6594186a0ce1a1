#include "ui/view/GridEditCommands.h"

#include "document/CMemorixDoc.h"
#include "document/IAppState.h"
#include "undo/CUndoMap.h"
#include "grid/ClipboardLineEnds.h"
#include "grid/GridClear.h"
#include "grid/GridClipboard.h"
#include "resources/ResourceIds.h"
#include "ui/view/CExEditBase.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridCellEditor.h"
#include "ui/view/GridModel.h"
#include "ui/view/GridSelection.h"
#include "ui/view/IGridFrame.h"
#include "ui/view/ResourcePopupMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTableView>

GridEditCommands::GridEditCommands(CMemorixView& view, GridSelection& selection, const GridCellEditor& cellEditor,
                                   IAppState& app, IGridFrame& frame)
    : QObject(&view)
    , m_view(view)
    , m_selection(selection)
    , m_cellEditor(cellEditor)
    , m_app(app)
    , m_frame(frame)
{
}

void GridEditCommands::SelectAll()
{
    const GridModel& model = m_view.Model();
    if (m_cellEditor.IsEditing() || model.rowCount() == 0)
        return;
    m_selection.SelectAll(model.rowCount() - 1, model.Layout().LastColumn());
    m_view.SelectionChanged();
}

bool GridEditCommands::CopyToClipboard()
{
    const GridModel& model = m_view.Model();
    if (m_cellEditor.IsEditing() || model.rowCount() == 0)
        return false;
    const std::string text = CopyText(model.Layout(), m_selection.Block());
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (text.empty() || !clipboard)
        return false;
    clipboard->setText(QString::fromStdString(text));
    return true;
}

void GridEditCommands::CutToClipboard()
{
    if (m_cellEditor.IsEditing())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool copied = CopyToClipboard();
    QApplication::restoreOverrideCursor();
    if (copied)
        ClearSelection();
}

void GridEditCommands::ClearSelection()
{
    const GridModel& model = m_view.Model();
    if (m_cellEditor.IsEditing() || model.rowCount() == 0)
        return;
    const GridLayout& layout = model.Layout();
    const std::optional<BlockWrite> write =
        m_selection.HasRange() ? ClearRange(layout, m_selection.Range())
                               : ClearCell(layout, GridCell{m_selection.CurRow(), m_selection.CurCol()});
    if (!write || !m_view.WriteBlock(write->offset, write->bytes))
        return;
    AfterChange();
}

bool GridEditCommands::PasteText(const std::string& text)
{
    const GridModel& model = m_view.Model();
    if (!m_app.GetActiveDoc() || model.rowCount() == 0)
        return false;
    const CellRange block = m_selection.Block();
    const std::optional<std::vector<std::uint8_t>> bytes =
        ::PasteText(model.Layout(), text, GridCell{block.top, block.left});
    return bytes && m_view.WriteBlock(0, *bytes);
}

void GridEditCommands::PasteFromClipboard()
{
    if (m_cellEditor.IsEditing())
        return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    if (text.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool pasted = PasteText(WithCrLfLineEnds(text.toStdString()));
    QApplication::restoreOverrideCursor();
    if (pasted)
        AfterChange();
}

bool GridEditCommands::ApplyWrite(std::size_t offset, const std::vector<std::uint8_t>& bytes)
{
    if (m_cellEditor.IsEditing() || !m_view.WriteBlock(offset, bytes))
        return false;
    AfterChange();
    return true;
}

void GridEditCommands::AfterChange()
{
    if (CMemorixDoc* doc = m_app.GetActiveDoc())
        m_app.GetUndoMap().RecordChange(*doc, m_frame);
    m_view.ReloadFromDocument();
    m_view.List().viewport()->update();
    emit DocumentChanged();
}

bool GridEditCommands::CanUndo() const
{
    return m_app.GetActiveDoc() && m_app.GetUndoMap().CanUndo(m_frame);
}

bool GridEditCommands::CanRedo() const
{
    return m_app.GetActiveDoc() && m_app.GetUndoMap().CanRedo(m_frame);
}

void GridEditCommands::OnEditUndo()
{
    CMemorixDoc* doc = m_app.GetActiveDoc();
    if (m_cellEditor.IsEditing() || !doc || !m_app.GetUndoMap().Undo(*doc, m_frame))
        return;
    m_view.ReloadFromDocument();
    emit DocumentChanged();
}

void GridEditCommands::OnEditRedo()
{
    CMemorixDoc* doc = m_app.GetActiveDoc();
    if (m_cellEditor.IsEditing() || !doc || !m_app.GetUndoMap().Redo(*doc, m_frame))
        return;
    m_view.ReloadFromDocument();
    emit DocumentChanged();
}

void GridEditCommands::OnCommand(int id)
{
    if (m_cellEditor.IsEditing()) {
        if (id != res::ID_EDIT_REDO)
            m_cellEditor.ActiveEditor()->OnCommand(id);
        return;
    }
    switch (id) {
    case res::ID_EDIT_CLEAR: ClearSelection(); break;
    case res::ID_EDIT_COPY: {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        CopyToClipboard();
        QApplication::restoreOverrideCursor();
        break;
    }
    case res::ID_EDIT_CUT: CutToClipboard(); break;
    case res::ID_EDIT_PASTE: PasteFromClipboard(); break;
    case res::ID_EDIT_SELECT_ALL: SelectAll(); break;
    case res::ID_EDIT_UNDO: OnEditUndo(); break;
    case res::ID_EDIT_REDO: OnEditRedo(); break;
    default: emit OtherCommand(id); break;
    }
}

void GridEditCommands::ShowContextMenu(QPoint global)
{
    if (global.x() < 0 || global.y() < 0)
        global = m_view.List().viewport()->mapToGlobal(
            m_view.GetCellRect(m_selection.CurRow(), m_selection.CurCol() + 1).bottomRight());
    const MxMenuResource* resource = m_view.FindMenu(res::IDR_GRID_CONTEXT);
    if (!resource)
        return;
    std::unique_ptr<QMenu> menu = BuildPopupMenu(*resource, &m_view, [this](int id) { m_view.OnCommand(id); });
    if (!menu)
        return;
    // Clear, cut and paste have nothing to work on in the text column.
    const bool onText = m_selection.Block().left >= m_view.Model().Layout().Columns();
    for (QAction* action : menu->actions()) {
        switch (action->data().toInt()) {
        case res::ID_EDIT_CLEAR:
        case res::ID_EDIT_CUT:
        case res::ID_EDIT_PASTE: action->setEnabled(!onText); break;
        case res::ID_EDIT_UNDO: action->setEnabled(CanUndo()); break;
        case res::ID_EDIT_REDO: action->setEnabled(CanRedo()); break;
        case res::ID_TAKE_OTHER_VALUE: action->setEnabled(m_view.IsComparing()); break;
        default: break;
        }
    }
    menu->exec(global);
}
