#pragma once

#include "ui/view/CExEditBase.h"

#include <cstdint>
#include <vector>

// The editor of the hexadecimal grid's text column: a row's bytes shown as
// characters of the ANSI code page. The editor keeps the bytes itself and
// applies every edit to them; the visible text is always drawn from the
// bytes, one character for each character of the bytes, so every byte of the
// row can be reached and is edited in place. Bytes that are no character (a
// zero byte, a control byte, a lead byte without its trail) show as '.', one
// character each, as in the grid.
class CStringEdit final : public CExEditBase {
    Q_OBJECT

public:
    // Operation codes of EditBytes.
    static constexpr int EDIT_INSERT = 0;
    static constexpr int EDIT_BACKSPACE = 1;
    static constexpr int EDIT_DELETE = 2;
    static constexpr int EDIT_CUT = 3;

    explicit CStringEdit(IEditOwner& owner, QWidget* parent = nullptr);

    // Starts editing count bytes: they are the value and the capacity.
    void SetValue(const std::uint8_t* bytes, std::uint32_t count);
    // The bytes as edited (at most the capacity); the editor is emptied. The
    // status is not used; the result is always true.
    bool GetValue(std::vector<std::uint8_t>& out, codec::ParseStatus* status) override;
    // Empties the value, the undo state and the capacity.
    void ResetUndo() override;

    // One edit at the control's selection; true when the bytes changed.
    bool EditBytes(int operation, QChar ch = QChar());

    void Undo() override;
    void Cut() override;
    void Paste() override;
    void Clear() override;

    const std::vector<std::uint8_t>& Bytes() const { return m_aBytes; }

protected:
    void OnChar(QChar ch) override;
    void OnDeleteKey(bool shift) override;

private:
    // Redraws the text from the bytes and puts the caret at caret (a character position).
    void ShowBytes(int caret);
    // The byte offset of a character position of the shown text.
    std::size_t ByteOffset(int position) const;
    // Delete without Shift: the character after the caret, or the selection.
    void DeleteForward();

    std::vector<std::uint8_t> m_aBytes;
    std::vector<std::uint8_t> m_aUndoBytes;
    std::uint32_t m_nMaxBytes = 0;
    // The number of bytes behind each character of the shown text.
    std::vector<int> m_aCharBytes;
    // Where the caret goes after the last EditBytes.
    int m_nCaret = 0;
};
