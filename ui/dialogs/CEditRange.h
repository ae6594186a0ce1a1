#pragma once

// A field for one address of a device range. It takes only decimal digits,
// and only as long as the number they make is not greater than the field's
// highest value; a typed character, a paste or a drop that would break that
// is refused without a sound. The lowest value is kept for the caller but not
// enforced while typing: a start can be typed digit by digit.

#include <QLineEdit>

#include <cstdint>

class QValidator;

class CEditRange final : public QLineEdit {
    Q_OBJECT

public:
    explicit CEditRange(QWidget* parent = nullptr);

    void SetRange(std::int32_t lowest, std::int32_t highest);
    std::int32_t Highest() const { return m_nHighest; }

    // The number the text starts with: its leading digits read as an unsigned
    // decimal number (none gives 0, a number beyond the 32-bit range gives the
    // greatest 32-bit value).
    static std::uint32_t LeadingNumber(const QString& text);

private:
    class DigitsValidator;

    std::int32_t m_nLowest = 0;
    std::int32_t m_nHighest = 0;
};
