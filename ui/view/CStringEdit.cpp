#include "ui/view/CStringEdit.h"

#include "resources/ResourceIds.h"

#include "codec/RowText.h"
#include "platform/CodePage.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <span>

namespace {

// The ANSI bytes of one typed character; a character the code page lacks
// becomes its default character.
std::string AnsiBytes(QChar ch)
{
    std::string bytes =
        ch.isSurrogate() ? std::string("?") : platform::AnsiCodePage().FromUtf8(QString(ch).toStdString());
    return bytes.empty() ? std::string("?") : bytes;
}

} // namespace

CStringEdit::CStringEdit(IEditOwner& owner, QWidget* parent)
    : CExEditBase(owner, parent)
{
    setObjectName(QString::number(res::IDC_STRING_EDIT));
}

void CStringEdit::SetValue(const std::uint8_t* bytes, std::uint32_t count)
{
    ResetUndo();
    m_nMaxBytes = count;
    m_aBytes.assign(bytes, bytes + count);
    m_aUndoBytes = m_aBytes;
    setMaxLength(std::max<int>(1, static_cast<int>(count)));
    ShowBytes(0);
    setFocus();
}

bool CStringEdit::GetValue(std::vector<std::uint8_t>& out, codec::ParseStatus*)
{
    out = m_aBytes;
    if (out.size() > m_nMaxBytes)
        out.resize(m_nMaxBytes);
    ResetUndo();
    return true;
}

void CStringEdit::ResetUndo()
{
    m_aBytes.clear();
    m_aUndoBytes.clear();
    m_nMaxBytes = 0;
}

void CStringEdit::ShowBytes(int caret)
{
    const platform::CodePage& page = platform::AnsiCodePage();
    QString shown;
    m_aCharBytes.clear();
    for (std::size_t i = 0; i < m_aBytes.size();) {
        std::size_t length = 1;
        if (page.IsDoubleByte() && page.IsLeadByte(m_aBytes[i]) && i + 1 < m_aBytes.size()
            && page.IsTrailByte(m_aBytes[i + 1]))
            length = 2;
        const std::span<const std::uint8_t> character(m_aBytes.data() + i, length);
        // RowText ends a single-byte text at a zero byte; here the zero byte is
        // one '.' and the bytes after it stay in reach.
        const QString text =
            m_aBytes[i] == 0 ? QStringLiteral(".") : QString::fromStdString(codec::RowText(character, page));
        shown += text.isEmpty() ? QStringLiteral(".") : text.left(1);
        m_aCharBytes.push_back(static_cast<int>(length));
        i += length;
    }
    SetTextAndCaret(shown, std::clamp(caret, 0, static_cast<int>(shown.size())));
}

std::size_t CStringEdit::ByteOffset(int position) const
{
    std::size_t offset = 0;
    for (int i = 0; i < position && i < static_cast<int>(m_aCharBytes.size()); ++i)
        offset += static_cast<std::size_t>(m_aCharBytes[static_cast<std::size_t>(i)]);
    return std::min(offset, m_aBytes.size());
}

bool CStringEdit::EditBytes(int operation, QChar ch)
{
    int start = 0;
    int end = 0;
    Selection(start, end);
    const int length = static_cast<int>(m_aCharBytes.size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    std::string insert;
    if (operation == EDIT_INSERT)
        insert = AnsiBytes(ch);
    if (start == end) {
        if (operation == EDIT_BACKSPACE && start > 0)
            --start;
        else if (operation == EDIT_DELETE && end < length)
            ++end;
    }
    m_nCaret = start;
    const std::size_t from = ByteOffset(start);
    const std::size_t to = ByteOffset(end);
    const auto erase = [&] {
        m_aBytes.erase(m_aBytes.begin() + static_cast<std::ptrdiff_t>(from),
                       m_aBytes.begin() + static_cast<std::ptrdiff_t>(to));
        return to > from;
    };

    switch (operation) {
    case EDIT_INSERT: {
        const bool removed = erase();
        if (m_aBytes.size() + insert.size() > m_nMaxBytes)
            return removed;
        m_aBytes.insert(m_aBytes.begin() + static_cast<std::ptrdiff_t>(from), insert.begin(), insert.end());
        m_nCaret = start + 1;
        return true;
    }
    case EDIT_BACKSPACE:
    case EDIT_DELETE:
    case EDIT_CUT: return erase();
    default: return false;
    }
}

void CStringEdit::OnChar(QChar ch)
{
    const std::vector<std::uint8_t> before = m_aBytes;
    if (ch == QChar(8)) {
        if (EditBytes(EDIT_BACKSPACE)) {
            m_aUndoBytes = before;
            ShowBytes(m_nCaret);
        }
        return;
    }
    if (!ch.isPrint())
        return;
    // A character that does not fit is refused; when it replaced a selection,
    // the selection's bytes are gone all the same, and the text shows that.
    if (EditBytes(EDIT_INSERT, ch)) {
        m_aUndoBytes = before;
        ShowBytes(m_nCaret);
    }
}

void CStringEdit::DeleteForward()
{
    const std::vector<std::uint8_t> before = m_aBytes;
    if (EditBytes(EDIT_DELETE)) {
        m_aUndoBytes = before;
        ShowBytes(m_nCaret);
    }
}

void CStringEdit::OnDeleteKey(bool shift)
{
    // Shift+Delete cuts, as everywhere on this platform.
    if (shift)
        Cut();
    else
        DeleteForward();
}

void CStringEdit::Clear()
{
    DeleteForward();
}

void CStringEdit::Cut()
{
    if (!hasSelectedText())
        return;
    Copy();
    const std::vector<std::uint8_t> before = m_aBytes;
    if (EditBytes(EDIT_CUT)) {
        m_aUndoBytes = before;
        ShowBytes(m_nCaret);
    }
}

void CStringEdit::Paste()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty())
        return;
    const std::vector<std::uint8_t> before = m_aBytes;
    bool inserted = false;
    for (const QChar ch : pasted) {
        if (!EditBytes(EDIT_INSERT, ch))
            break;
        // The selection went with the first character; the next one follows it.
        ShowBytes(m_nCaret);
        inserted = true;
    }
    if (inserted)
        m_aUndoBytes = before;
}

void CStringEdit::Undo()
{
    std::swap(m_aBytes, m_aUndoBytes);
    ShowBytes(0);
    selectAll();
}
