#include "ui/view/GridInputFilter.h"

#include "ui/view/CMemorixView.h"
#include "ui/view/CNumberEdit.h"
#include "ui/view/CStringEdit.h"
#include "ui/view/GridModel.h"
#include "ui/view/GridSelection.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>

#include <optional>

namespace {

std::optional<NavKey> MoveKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return NavKey::Tab;
    case Qt::Key_PageUp: return NavKey::PageUp;
    case Qt::Key_PageDown: return NavKey::PageDown;
    case Qt::Key_Home: return NavKey::Home;
    case Qt::Key_End: return NavKey::End;
    case Qt::Key_Left: return NavKey::Left;
    case Qt::Key_Right: return NavKey::Right;
    case Qt::Key_Up: return NavKey::Up;
    case Qt::Key_Down: return NavKey::Down;
    default: return std::nullopt;
    }
}

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The Ctrl shortcuts of the list and the commands they give.
int CtrlCommand(const QKeyEvent& key)
{
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::ControlModifier)
        return 0;
    switch (key.key()) {
    case Qt::Key_A: return res::ID_EDIT_SELECT_ALL;
    case Qt::Key_C: return res::ID_EDIT_COPY;
    case Qt::Key_V: return res::ID_EDIT_PASTE;
    case Qt::Key_X: return res::ID_EDIT_CUT;
    case Qt::Key_Y: return res::ID_EDIT_REDO;
    case Qt::Key_Z: return res::ID_EDIT_UNDO;
    default: return 0;
    }
}

// How often a drag held above or below the list adds a row.
constexpr int kAutoScrollMs = 50;

bool IsContextMenuKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
}

} // namespace

GridInputFilter::GridInputFilter(CMemorixView& view, GridSelection& selection)
    : QObject(&view)
    , m_view(view)
    , m_selection(selection)
{
    QTableView& list = view.List();
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);
    list.horizontalHeader()->viewport()->installEventFilter(this);
    view.NumberEdit().installEventFilter(this);
    view.StringEdit().installEventFilter(this);
    m_autoScroll.setInterval(kAutoScrollMs);
    connect(&m_autoScroll, &QTimer::timeout, this, &GridInputFilter::OnAutoScroll);
}

bool GridInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    QTableView& list = m_view.List();
    const bool onEditor = watched == &m_view.NumberEdit() || watched == &m_view.StringEdit();
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The list's own keys come before the window's shortcuts for the same
        // commands, so that they act the same with or without a main window.
        if (watched == &list) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (CtrlCommand(*key) != 0 || key->key() == Qt::Key_Delete) {
                event->accept();
                return true;
            }
        }
        return false;
    case QEvent::KeyPress:
        if (watched == &list)
            return OnListKey(*static_cast<QKeyEvent*>(event));
        if (onEditor)
            return OnEditorKey(*static_cast<QKeyEvent*>(event));
        return false;
    case QEvent::FocusOut:
        // Losing the focus to another window or widget commits the edit
        // silently; a menu of the editor's own takes the focus only for a while.
        if (onEditor && m_view.IsEditing() && watched == m_view.GetActiveEditor()
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            m_view.EndEdit(false);
        return false;
    case QEvent::MouseButtonPress:
        if (watched == list.viewport()) {
            OnButtonDown(*static_cast<QMouseEvent*>(event));
            return true;
        }
        // A click on the header commits an open edit; the header keeps its
        // own handling (resizing the columns).
        if (watched == list.horizontalHeader()->viewport() && m_view.IsEditing())
            return !m_view.EndEdit(true);
        return false;
    case QEvent::MouseButtonDblClick:
        if (watched == list.viewport()) {
            OnDoubleClick(*static_cast<QMouseEvent*>(event));
            return true;
        }
        return false;
    case QEvent::MouseMove:
        if (watched == list.viewport()) {
            OnMouseMove(*static_cast<QMouseEvent*>(event));
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (watched == list.viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_selection.SetExtending(false);
                m_autoScroll.stop();
            } else if (mouse->button() == Qt::RightButton) {
                m_view.ShowContextMenu(mouse->globalPosition().toPoint());
            }
            return true;
        }
        return false;
    case QEvent::ContextMenu:
        if (watched == &list || watched == list.viewport()) {
            // The mouse's menu comes with the right button's release; the
            // keyboard's opens at the current cell.
            if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Mouse)
                m_view.ShowContextMenu(QPoint(-1, -1));
            return true;
        }
        return false;
    default: return false;
    }
}

bool GridInputFilter::OnListKey(QKeyEvent& key)
{
    if (m_view.IsEditing())
        return false;
    const bool shift = key.modifiers() & Qt::ShiftModifier;
    const bool ctrl = key.modifiers() & Qt::ControlModifier;

    if (const int command = CtrlCommand(key)) {
        m_view.OnCommand(command);
        return true;
    }
    if (const std::optional<NavKey> move = MoveKey(key.key())) {
        // A key that cannot move does nothing else either: the table's own
        // handling would move its hidden index.
        m_view.Navigate(*move, shift || key.key() == Qt::Key_Backtab, ctrl);
        m_view.List().setFocus();
        return true;
    }
    if (IsEnter(key.key()) || key.key() == Qt::Key_F2) {
        EditCurrentCell();
        return true;
    }
    if (key.key() == Qt::Key_Delete) {
        m_view.ClearSelection();
        return true;
    }
    if (key.key() == Qt::Key_Escape && m_view.IsComparing()) {
        emit m_view.EscapePressed();
        return true;
    }
    if (IsContextMenuKey(key)) {
        m_view.ShowContextMenu(QPoint(-1, -1));
        return true;
    }
    const QString text = key.text();
    const bool plain = !ctrl && !(key.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
    if (plain && ((!text.isEmpty() && text.front().isPrint()) || key.key() == Qt::Key_Backspace)) {
        // Typing on a cell opens its editor with the typed text in place of
        // the cell's (the editor opens with its text selected); Backspace
        // opens it emptied.
        EditCurrentCell();
        if (CExEditBase* editor = m_view.GetActiveEditor()) {
            QKeyEvent typed(QEvent::KeyPress, key.key(), key.modifiers(), text);
            QApplication::sendEvent(editor, &typed);
        }
        return true;
    }
    // Every other key stops here: the table's own handling would move its
    // hidden index or search its rows.
    return true;
}

bool GridInputFilter::OnEditorKey(QKeyEvent& key)
{
    if (!m_view.IsEditing())
        return false;
    if (IsEnter(key.key()) || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) {
        const bool shift = key.modifiers() & Qt::ShiftModifier || key.key() == Qt::Key_Backtab;
        const bool ctrl = key.modifiers() & Qt::ControlModifier;
        // Tab moves as Enter does, on to the next row at the end of one.
        if (m_view.EndEdit(true))
            m_view.Navigate(NavKey::Enter, shift, ctrl);
        return true;
    }
    if (key.key() == Qt::Key_Escape) {
        m_view.CancelEdit();
        return true;
    }
    return false;
}

void GridInputFilter::OnButtonDown(QMouseEvent& mouse)
{
    if (mouse.button() != Qt::LeftButton && mouse.button() != Qt::RightButton)
        return;
    int column = 0;
    int row = 0;
    m_autoScroll.stop();
    if (m_view.HitTestCell(mouse.globalPosition().toPoint(), column, row) != CMemorixView::HIT_CELL) {
        if (m_view.IsEditing())
            m_view.EndEdit(true);
        return;
    }
    const bool shift = mouse.modifiers() & Qt::ShiftModifier;
    if (m_view.IsEditing() && !m_view.EndEdit(true))
        return;

    m_selection.PressCell(row, column, mouse.button() == Qt::LeftButton && shift, mouse.button() == Qt::RightButton);
    m_view.SelectionChanged();
    m_view.List().setFocus(Qt::MouseFocusReason);
}

void GridInputFilter::OnMouseMove(QMouseEvent& mouse)
{
    if (!m_selection.IsExtending())
        return;
    if (!(mouse.buttons() & Qt::LeftButton)) {
        m_selection.SetExtending(false);
        m_autoScroll.stop();
        return;
    }
    m_selection.BeginRange();
    m_ptDrag = mouse.globalPosition().toPoint();
    if (DragTo(m_ptDrag))
        m_autoScroll.start();
    else
        m_autoScroll.stop();
}

void GridInputFilter::OnAutoScroll()
{
    if (!m_selection.IsExtending() || !DragTo(m_ptDrag))
        m_autoScroll.stop();
}

bool GridInputFilter::DragTo(const QPoint& global)
{
    int column = 0;
    int row = 0;
    const int hit = m_view.HitTestCell(global, column, row);
    const int lastRow = m_view.Model().rowCount() - 1;
    bool scrolled = false;
    if (hit == CMemorixView::HIT_CELL) {
        if (column == m_selection.EndCol() && row == m_selection.EndRow())
            return false;
        m_selection.MoveEnd(row, column);
    } else if ((hit == CMemorixView::HIT_ABOVE && m_selection.CurRow() > 0)
               || (hit == CMemorixView::HIT_BELOW && m_selection.CurRow() < lastRow)) {
        // Above or below the list, the range grows one row a step and the
        // list scrolls with it.
        m_selection.MoveEnd(m_selection.CurRow() + (hit == CMemorixView::HIT_ABOVE ? -1 : 1), m_selection.CurCol());
        m_view.MakeRowVisible(m_selection.CurRow());
        scrolled = true;
    } else {
        return false;
    }
    m_view.SelectionChanged();
    return scrolled;
}

void GridInputFilter::OnDoubleClick(QMouseEvent& mouse)
{
    if (mouse.button() != Qt::LeftButton)
        return;
    OnButtonDown(mouse);
    int column = 0;
    int row = 0;
    if (!m_view.IsEditing()
        && m_view.HitTestCell(mouse.globalPosition().toPoint(), column, row) == CMemorixView::HIT_CELL) {
        m_selection.SetExtending(false);
        m_view.StartEdit(column, row);
    }
}

void GridInputFilter::EditCurrentCell()
{
    m_selection.DropRange();
    m_view.MakeRowVisible(m_selection.CurRow());
    m_view.SelectionChanged();
    m_view.StartEdit(m_selection.CurCol(), m_selection.CurRow());
}
