#include "ui/view/CExEditBase.h"

#include "ui/view/IEditOwner.h"
#include "ui/view/ResourcePopupMenu.h"
#include "resources/ResourceIds.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

bool IsCtrl(const QKeyEvent& key, Qt::Key which)
{
    return key.key() == which && (key.modifiers() & Qt::ControlModifier)
           && !(key.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
}

// Keys that only move the caret or the selection: the one part of the line
// edit's own key handling the editors keep.
bool IsCaretKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End: return !(key.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
    default: return false;
    }
}

bool IsContextMenuKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
}

// Printable text typed without Ctrl, Alt or Meta.
bool IsTyping(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key.text();
    return !text.isEmpty() && text.front().isPrint();
}

} // namespace

CExEditBase::CExEditBase(IEditOwner& owner, QWidget* parent)
    : QLineEdit(parent)
    , m_owner(owner)
{
    // Text may enter only through the editor's own handlers.
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setFrame(false);
}

bool CExEditBase::OnCommand(int id)
{
    switch (id) {
    case res::ID_EDIT_UNDO: Undo(); return true;
    case res::ID_EDIT_CUT: Cut(); return true;
    case res::ID_EDIT_COPY: Copy(); return true;
    case res::ID_EDIT_PASTE: Paste(); return true;
    case res::ID_EDIT_CLEAR: Clear(); return true;
    case res::ID_EDIT_SELECT_ALL: selectAll(); return true;
    default: return false;
    }
}

void CExEditBase::Copy()
{
    QLineEdit::copy();
}

void CExEditBase::ShowContextMenu()
{
    const MxMenuResource* resource = m_owner.FindMenu(res::IDR_EDIT_CONTEXT);
    if (!resource)
        return;
    std::unique_ptr<QMenu> menu = BuildPopupMenu(*resource, this, [this](int id) { OnCommand(id); });
    if (menu)
        menu->exec(mapToGlobal(rect().bottomRight() + QPoint(1, 1)));
}

bool CExEditBase::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The editing keys belong to the editor, not to the window's commands.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace || IsCaretKey(*key) || IsTyping(*key)
            || IsCtrl(*key, Qt::Key_A) || IsCtrl(*key, Qt::Key_C) || IsCtrl(*key, Qt::Key_V) || IsCtrl(*key, Qt::Key_X)
            || IsCtrl(*key, Qt::Key_Y) || IsCtrl(*key, Qt::Key_Z) || key->key() == Qt::Key_Insert) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CExEditBase::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->key() == Qt::Key_Delete) {
        OnDeleteKey(mods & Qt::ShiftModifier);
    } else if (IsCtrl(*event, Qt::Key_A)) {
        selectAll();
    } else if (IsCtrl(*event, Qt::Key_C) || (event->key() == Qt::Key_Insert && mods == Qt::ControlModifier)) {
        Copy();
    } else if (IsCtrl(*event, Qt::Key_V) || (event->key() == Qt::Key_Insert && mods == Qt::ShiftModifier)) {
        Paste();
    } else if (IsCtrl(*event, Qt::Key_X)) {
        Cut();
    } else if (IsCtrl(*event, Qt::Key_Z) && !(mods & Qt::ShiftModifier)) {
        Undo();
    } else if (event->key() == Qt::Key_Backspace) {
        OnChar(QChar(8));
    } else if (IsContextMenuKey(*event)) {
        ShowContextMenu();
    } else if (IsCaretKey(*event)) {
        QLineEdit::keyPressEvent(event);
    } else if (IsTyping(*event)) {
        for (const QChar ch : event->text())
            OnChar(ch);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Tab
               || event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Escape) {
        event->ignore(); // for the grid around the editor
    }
    // Every other key (redo, the line edit's word and line deletions, ...)
    // would change the text behind the editor's back: it is dropped.
}

void CExEditBase::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text arrives as if typed; a composition in progress is not shown.
    for (const QChar ch : event->commitString()) {
        if (ch.isPrint())
            OnChar(ch);
    }
    event->accept();
}

void CExEditBase::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    ShowContextMenu();
}

void CExEditBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept(); // no pasting of the selection clipboard
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void CExEditBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CExEditBase::SetTextAndCaret(const QString& text, int caret)
{
    setText(text);
    setCursorPosition(caret);
}

void CExEditBase::Selection(int& start, int& end) const
{
    if (hasSelectedText()) {
        start = selectionStart();
        end = selectionEnd();
    } else {
        start = end = cursorPosition();
    }
}
