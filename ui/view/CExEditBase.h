#pragma once

#include "codec/CodecCodes.h"

#include <QLineEdit>

#include <cstdint>
#include <vector>

class IEditOwner;

// The common part of the grid's two cell editors: a single-line edit whose
// every change of text goes through the editor's own handlers. The editor
// keeps a one-level undo of its own, answers the edit commands and the usual
// shortcuts itself and shows the language library's context menu
// res::IDR_EDIT_CONTEXT; Qt's
// own undo stack, context menu, drag and drop, middle-button paste and
// input-method text never reach the text behind the editor's back.
class CExEditBase : public QLineEdit {
    Q_OBJECT

public:
    // owner must outlive the editor.
    CExEditBase(IEditOwner& owner, QWidget* parent = nullptr);

    // The edited value as cell bytes; status (may be null) receives the
    // conversion status. True when out holds the value.
    virtual bool GetValue(std::vector<std::uint8_t>& out, codec::ParseStatus* status) = 0;
    virtual void ResetUndo() = 0;

    // One of the Edit menu's commands res::ID_EDIT_CLEAR, ID_EDIT_COPY,
    // ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL or ID_EDIT_UNDO; false
    // for any other id.
    bool OnCommand(int id);

    // The handlers behind the commands.
    virtual void Undo() = 0;
    virtual void Cut() = 0;
    virtual void Copy();
    virtual void Paste() = 0;
    virtual void Clear() = 0;

    // Shows the context menu res::IDR_EDIT_CONTEXT with its top-left corner at the editor's
    // bottom-right corner, wherever the mouse is.
    void ShowContextMenu();

protected:
    // A typed character (printable, or a control character such as backspace).
    virtual void OnChar(QChar ch) = 0;
    // The Delete key; shift tells whether Shift was held.
    virtual void OnDeleteKey(bool shift) = 0;

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Replaces the control's text and puts the caret at caret. Positions are
    // in characters of the control's text.
    void SetTextAndCaret(const QString& text, int caret);
    // The selection as [start, end); both the caret without a selection.
    void Selection(int& start, int& end) const;

    IEditOwner& Owner() const { return m_owner; }

private:
    IEditOwner& m_owner;
};
