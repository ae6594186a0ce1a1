#pragma once

#include "ui/view/CExEditBase.h"

// The editor of a data cell: the text of a number in the grid's radix and
// data unit. Typed and pasted characters are admitted only while the text
// stays a valid (perhaps unfinished) number of that radix and unit; the
// whole text is checked again when it is taken, as deleting characters can
// leave a text that no longer fits the unit.
class CNumberEdit final : public CExEditBase {
    Q_OBJECT

public:
    explicit CNumberEdit(IEditOwner& owner, QWidget* parent = nullptr);

    // Called after the grid has put the cell's text in: that text is what
    // undo goes back to.
    void BeginEdit();

    // With a status pointer: the status of the text (codec::PARSE_OK,
    // PARSE_BAD_TEXT or PARSE_OUT_OF_RANGE) and, when it is PARSE_OK, the
    // cell's bytes in out (and the undo state emptied). Without one, or with
    // any other status, out stays as it was and the result is false. An empty
    // text is 0; an integer text that is not a whole number of the unit is
    // PARSE_BAD_TEXT, or PARSE_OUT_OF_RANGE when it would be one of a wider
    // unit (32768 in a signed 16-bit cell).
    bool GetValue(std::vector<std::uint8_t>& out, codec::ParseStatus* status) override;
    void ResetUndo() override { m_strUndo.clear(); }

    void Undo() override;
    void Cut() override;
    void Paste() override;
    void Clear() override;

    const QString& UndoText() const { return m_strUndo; }

protected:
    void OnChar(QChar ch) override;
    void OnDeleteKey(bool shift) override;

private:
    bool IsRealRadix() const;
    // Replaces [start, end) by insert when the result is acceptable; the caret
    // goes after the inserted text.
    bool Replace(int start, int end, const QString& insert);

    QString m_strUndo;
};
