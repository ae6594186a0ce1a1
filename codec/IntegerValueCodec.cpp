#include "codec/IntegerValueCodec.h"

#include "codec/ClassicLocale.h"
#include "codec/ValueCodec.h"

namespace codec {
namespace {

// ASCII only: the user's locale must not decide what a digit is.
char ToUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

IntegerValueCodec::IntegerValueCodec(int base, std::string_view digits, bool noLeadingZeros)
    : m_base(base)
    , m_digits(digits)
    , m_noLeadingZeros(noLeadingZeros)
{
}

int IntegerValueCodec::CellBytes(Unit unit) const
{
    return GetCellBytes(unit);
}

int IntegerValueCodec::MaxChars(Unit unit) const
{
    return static_cast<int>(Format(WidestValue(unit), unit).size());
}

bool IntegerValueCodec::Insert(std::string_view insert, Unit unit, std::size_t start, std::size_t end,
                               std::string& text) const
{
    for (const char typed : insert) {
        const char c = ToUpper(typed);
        if (!IsDigit(c, unit, start))
            return false;
        if (start < end)
            text.erase(start, end - start);
        text.insert(start, 1, c);
        if (!IsAcceptable(text, unit))
            return false;
        ++start;
        end = start;
    }
    return true;
}

bool IntegerValueCodec::Validate(std::string_view text, Unit unit, std::string& normalised) const
{
    normalised.clear();
    if (text.empty())
        return false;
    std::string built;
    built.reserve(text.size());
    for (const char typed : text) {
        const char c = ToUpper(typed);
        if (!IsDigit(c, unit, built.size()))
            return false;
        built += c;
    }
    // Typing the text into an empty editor passes through all its prefixes.
    // Appending a digit never brings a value back into range, and the leading-
    // zero and sign rules fail on a prefix exactly when they fail on the whole
    // text, so checking the whole text once gives the same answer without the
    // cost growing with the square of its length (CSV fields can be long).
    if (!IsAcceptable(built, unit))
        return false;
    normalised = std::move(built);
    return true;
}

bool IntegerValueCodec::ParseCell(std::string_view text, Unit unit, std::uint64_t& value) const
{
    value = 0;
    std::string normalised;
    if (!Validate(text, unit, normalised))
        return false;
    const auto conversion = ClassicLocale::ToUnsigned(normalised, m_base);
    // A lone "-" is a valid unfinished text but no number: it stays zero.
    if (conversion.used == normalised.size())
        value = conversion.value;
    return true;
}

ParseStatus IntegerValueCodec::ParseEditor(std::string_view text, std::uint64_t& value) const
{
    value = ClassicLocale::ToUnsigned(text, m_base).value;
    return PARSE_OK;
}

bool IntegerValueCodec::IsDigit(char c, Unit, std::size_t) const
{
    return m_digits.find(c) != std::string_view::npos;
}

bool IntegerValueCodec::IsAcceptable(std::string_view text, Unit unit) const
{
    if (HasLeadingZero(text) || !IsKnownUnit(unit))
        return false;
    const auto conversion = ClassicLocale::ToUnsigned(text, m_base);
    return !conversion.rangeError && conversion.value <= UnitMax(unit);
}

std::uint64_t IntegerValueCodec::WidestValue(Unit unit) const
{
    return IsKnownUnit(unit) ? UnitMax(unit) : ~std::uint64_t{0};
}

bool IntegerValueCodec::HasLeadingZero(std::string_view text) const
{
    return m_noLeadingZeros && text.size() > 1 && text[0] == '0';
}

bool IntegerValueCodec::IsKnownUnit(Unit unit)
{
    return unit >= UNIT_8BIT && unit <= UNIT_64BIT;
}

std::uint64_t IntegerValueCodec::UnitMax(Unit unit)
{
    return ~std::uint64_t{0} >> (64 - 8 * GetCellBytes(unit));
}

} // namespace codec
