#include "ui/view/GridCellEditor.h"

#include "document/CMemorixDoc.h"
#include "document/IAppState.h"
#include "undo/CUndoMap.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/CNumberEdit.h"
#include "ui/view/CStringEdit.h"
#include "ui/view/GridModel.h"
#include "ui/view/GridSelection.h"
#include "ui/view/IGridFrame.h"

#include <QScrollBar>
#include <QTableView>

#include <algorithm>

GridCellEditor::GridCellEditor(CMemorixView& view, GridModel& model, GridSelection& selection, IAppState& app,
                               IGridFrame& frame)
    : QObject(&view)
    , m_view(view)
    , m_model(model)
    , m_selection(selection)
    , m_app(app)
    , m_frame(frame)
{
    QTableView& list = view.List();
    m_numberEdit = new CNumberEdit(view, list.viewport());
    m_stringEdit = new CStringEdit(view, list.viewport());
    for (CExEditBase* editor : {static_cast<CExEditBase*>(m_numberEdit), static_cast<CExEditBase*>(m_stringEdit)}) {
        editor->hide();
        editor->setEnabled(false);
    }
    // An open editor follows its cell when the table scrolls.
    connect(list.verticalScrollBar(), &QScrollBar::valueChanged, this, &GridCellEditor::PlaceEditor);
    connect(list.horizontalScrollBar(), &QScrollBar::valueChanged, this, &GridCellEditor::PlaceEditor);
}

CExEditBase* GridCellEditor::ActiveEditor() const
{
    switch (m_editorKind) {
    case EDITOR_NUMBER: return m_numberEdit;
    case EDITOR_TEXT: return m_stringEdit;
    default: return nullptr;
    }
}

void GridCellEditor::StartEdit(int column, int row)
{
    if (m_editing)
        return;
    const GridLayout& layout = m_model.Layout();
    if (row < 0 || row >= m_model.rowCount() || column < 0 || column > layout.LastColumn())
        return;
    const bool text = layout.HasTextColumn() && column == layout.Columns();
    if (!text && !layout.HasValue(row, column))
        return; // no edit on a cell after the end of the data
    const std::span<const std::uint8_t> rowBytes = layout.RowData(row);
    if (text && rowBytes.empty())
        return;

    m_editCol = column;
    m_editRow = row;
    CExEditBase* editor = nullptr;
    if (text) {
        m_editorKind = EDITOR_TEXT;
        editor = m_stringEdit;
    } else {
        m_editorKind = EDITOR_NUMBER;
        editor = m_numberEdit;
    }
    PlaceEditor();
    editor->setFont(m_view.List().font());
    if (text) {
        m_stringEdit->SetValue(rowBytes.data(), static_cast<std::uint32_t>(rowBytes.size()));
    } else {
        const QString shown = QString::fromStdString(m_model.FormatCell(row, column + 1));
        // The limit never cuts the cell's own text, however long it is.
        m_numberEdit->setMaxLength(std::max(layout.MaxCellChars(), static_cast<int>(shown.size())));
        m_numberEdit->setText(shown);
        m_numberEdit->BeginEdit();
        m_openedText = shown;
    }
    editor->selectAll();
    editor->setEnabled(true);
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    m_editing = true;
}

void GridCellEditor::PlaceEditor()
{
    CExEditBase* editor = ActiveEditor();
    if (!editor)
        return;
    const QRect cell = m_view.GetCellRect(m_editRow, m_editCol + 1);
    editor->setGeometry(cell.left() + 1, cell.top(), cell.width() - 1, cell.height() - 1);
}

void GridCellEditor::CloseEditor()
{
    CExEditBase* editor = ActiveEditor();
    // The state goes first: hiding the editor moves the focus, and the focus
    // loss must find no editor open.
    m_editing = false;
    m_editorKind = EDITOR_NONE;
    if (editor) {
        editor->hide();
        editor->setEnabled(false);
    }
    QTableView& list = m_view.List();
    if (list.isVisible())
        list.setFocus(Qt::OtherFocusReason);
}

void GridCellEditor::CancelEdit()
{
    if (!m_editing)
        return;
    if (m_editorKind == EDITOR_TEXT)
        m_stringEdit->ResetUndo();
    CloseEditor();
}

void GridCellEditor::Detach()
{
    m_editing = false;
    m_editorKind = EDITOR_NONE;
}

bool GridCellEditor::EndEdit(bool showMessages)
{
    // A message of this function is on the screen, or the function is already
    // at work: the focus loss that comes with either must not commit again.
    if (m_inMessage || m_inEndEdit)
        return true;
    if (m_editing) {
        m_inEndEdit = true;
        const GridLayout& layout = m_model.Layout();
        const std::size_t cellBytes = static_cast<std::size_t>(layout.CellBytes());
        std::vector<std::uint8_t> bytes;
        std::size_t offset = 0;
        bool valid = false;
        codec::ParseStatus status = codec::PARSE_OK;
        if (m_editorKind == EDITOR_NUMBER) {
            offset = layout.CellOffset(m_editRow, m_editCol);
            // The text the cell was opened with may be rounded (a real) and
            // would not give the cell's bytes back: left as it was, the cell is.
            if (m_numberEdit->text() != m_openedText)
                valid = m_numberEdit->GetValue(bytes, &status);
        } else {
            offset = cellBytes * static_cast<std::size_t>(layout.Columns()) * static_cast<std::size_t>(m_editRow);
            valid = m_stringEdit->GetValue(bytes, nullptr);
        }
        // An edit that leaves the bytes as they were writes nothing: the
        // document stays unmodified and no undo step is made.
        const std::span<const std::uint8_t> data = layout.Data();
        const bool same = offset + bytes.size() <= data.size()
                          && std::equal(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
        if (valid && !bytes.empty() && !same && m_view.WriteBlock(offset, bytes)) {
            if (CMemorixDoc* doc = m_app.GetActiveDoc())
                m_app.GetUndoMap().RecordChange(*doc, m_frame);
            ReloadBytes(offset, bytes.size());
        }
        m_inEndEdit = false;

        if (status != codec::PARSE_OK && showMessages) {
            m_inMessage = true;
            ShowResourceMessage(m_app.Messages(), m_app.Strings(),
                                status == codec::PARSE_OUT_OF_RANGE ? res::IDS_CELL_OUT_OF_RANGE
                                                                    : res::IDS_CELL_NOT_A_NUMBER,
                                platform::MsgIcon::None);
            m_inMessage = false;
            if (CExEditBase* editor = ActiveEditor())
                editor->setFocus(Qt::OtherFocusReason);
            return false;
        }
        CloseEditor();
        m_view.List().viewport()->update();
        emit EditCommitted();
    }
    // The corners collapse onto the cursor, so that Shift with a key or a
    // click extends from the cell just left.
    m_selection.SetCell(m_selection.CurRow(), m_selection.CurCol());
    m_view.SelectionChanged();
    return true;
}

void GridCellEditor::ReloadBytes(std::size_t offset, std::size_t count)
{
    const CEditData* block = m_view.FindShownBlock();
    if (!block || block->Data.size() != m_model.Block().Data.size()) {
        m_view.ReloadFromDocument();
        return;
    }
    m_model.ReloadBytes(offset, std::span<const std::uint8_t>(block->Data).subspan(offset, count));
    m_view.List().viewport()->update();
    m_view.UpdateCellStatus();
}
