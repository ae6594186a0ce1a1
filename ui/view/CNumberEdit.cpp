#include "ui/view/CNumberEdit.h"

#include "resources/ResourceIds.h"

#include "codec/ValueCodec.h"
#include "ui/view/IEditOwner.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>

CNumberEdit::CNumberEdit(IEditOwner& owner, QWidget* parent)
    : CExEditBase(owner, parent)
{
    setObjectName(QString::number(res::IDC_NUMBER_EDIT));
    // Numbers stand right-aligned in their cells; the editor keeps them there.
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void CNumberEdit::BeginEdit()
{
    m_strUndo.clear();
    m_strUndo = text();
}

bool CNumberEdit::IsRealRadix() const
{
    const codec::Radix radix = Owner().EditRadix();
    return radix == codec::RADIX_FLOAT || radix == codec::RADIX_DOUBLE;
}

bool CNumberEdit::GetValue(std::vector<std::uint8_t>& out, codec::ParseStatus* status)
{
    const codec::Radix radix = Owner().EditRadix();
    const codec::Unit unit = Owner().EditDataUnit();
    const std::string value = text().toStdString();

    codec::ParseStatus result = codec::PARSE_OK;
    std::string normalised;
    // Typing is checked character by character, but deleting is not: the
    // whole text must still be a number of the unit, or it would be written
    // as another value than the one the text says.
    // A lone sign is an unfinished text while typing, but no number to write.
    if (value == "-")
        result = codec::PARSE_BAD_TEXT;
    else if (!IsRealRadix() && !value.empty() && !codec::ValidateNumberText(value, radix, unit, normalised))
        result = codec::ValidateNumberText(value, radix, codec::UNIT_64BIT, normalised) ? codec::PARSE_OUT_OF_RANGE
                                                                                        : codec::PARSE_BAD_TEXT;
    std::vector<std::uint8_t> cell;
    if (result == codec::PARSE_OK)
        result = codec::ParseEditorText(value, radix, unit, cell);
    if (status)
        *status = result;
    if (!status || result != codec::PARSE_OK)
        return false;
    out = std::move(cell);
    ResetUndo();
    return true;
}

bool CNumberEdit::Replace(int start, int end, const QString& insert)
{
    QString next = text();
    if (IsRealRadix()) {
        next.replace(start, end - start, insert);
    } else {
        std::string checked = next.toStdString();
        if (!codec::CheckInsertion(insert.toUpper().toStdString(), Owner().EditRadix(), Owner().EditDataUnit(), start,
                                   end, checked))
            return false;
        next = QString::fromStdString(checked);
    }
    if (maxLength() > 0 && next.size() > maxLength())
        return false;
    const QString previous = text();
    SetTextAndCaret(next, start + static_cast<int>(insert.size()));
    m_strUndo = previous;
    return true;
}

void CNumberEdit::OnChar(QChar ch)
{
    int start = 0;
    int end = 0;
    Selection(start, end);
    if (!ch.isPrint()) {
        if (ch != QChar(8))
            return;
        // Backspace removes the selection, or the character before the caret.
        if (start == end && start > 0)
            --start;
        if (start == end)
            return;
        const QString previous = text();
        SetTextAndCaret(QString(previous).remove(start, end - start), start);
        m_strUndo = previous;
        return;
    }
    if (!IsRealRadix())
        ch = ch.toUpper();
    Replace(start, end, QString(ch));
}

void CNumberEdit::Paste()
{
    QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty())
        return;
    // Only the first line is pasted; a lone CR or LF ends it as CR LF does.
    const qsizetype lineEnd = pasted.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (lineEnd >= 0)
        pasted.truncate(lineEnd);
    int start = 0;
    int end = 0;
    Selection(start, end);
    Replace(start, end, pasted);
}

void CNumberEdit::Clear()
{
    int start = 0;
    int end = 0;
    Selection(start, end);
    const QString previous = text();
    if (start == end && end < previous.size())
        ++end;
    m_strUndo = previous;
    SetTextAndCaret(QString(previous).remove(start, end - start), start);
}

void CNumberEdit::OnDeleteKey(bool)
{
    Clear();
}

void CNumberEdit::Cut()
{
    if (!hasSelectedText())
        return;
    Copy();
    Clear();
}

void CNumberEdit::Undo()
{
    const QString shown = text();
    setText(m_strUndo);
    m_strUndo = shown;
    selectAll();
}
