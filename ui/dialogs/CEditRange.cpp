#include "ui/dialogs/CEditRange.h"

#include <QValidator>

#include <limits>

// QLineEdit runs its validator on every change the user makes (typing,
// pasting, dropping, the context menu) and refuses a change it calls Invalid.
// Texts set by the program are shown as they are.
class CEditRange::DigitsValidator final : public QValidator {
public:
    explicit DigitsValidator(CEditRange& field)
        : QValidator(&field)
        , m_field(field)
    {
    }

    State validate(QString& input, int& /*pos*/) const override
    {
        for (const QChar c : input) {
            if (c < u'0' || c > u'9')
                return Invalid;
        }
        // The highest value is compared as an unsigned number.
        return LeadingNumber(input) <= static_cast<std::uint32_t>(m_field.Highest()) ? Acceptable : Invalid;
    }

private:
    CEditRange& m_field;
};

CEditRange::CEditRange(QWidget* parent)
    : QLineEdit(parent)
{
    setValidator(new DigitsValidator(*this));
}

void CEditRange::SetRange(std::int32_t lowest, std::int32_t highest)
{
    m_nLowest = lowest;
    m_nHighest = highest;
}

std::uint32_t CEditRange::LeadingNumber(const QString& text)
{
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t number = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        number = number * 10 + static_cast<std::uint64_t>(c.unicode() - u'0');
        if (number > kMax)
            return static_cast<std::uint32_t>(kMax);
    }
    return static_cast<std::uint32_t>(number);
}
