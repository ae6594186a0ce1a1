#pragma once

#include "codec/AbstractValueCodec.h"

namespace codec {

// What the binary, octal, decimal and hexadecimal codecs share: a digit set,
// the range of the unit and the character-by-character insertion check.
class IntegerValueCodec : public AbstractValueCodec {
public:
    int CellBytes(Unit unit) const override;
    int MaxChars(Unit unit) const override;

    bool Insert(std::string_view insert, Unit unit, std::size_t start, std::size_t end,
                std::string& text) const override;
    bool Validate(std::string_view text, Unit unit, std::string& normalised) const override;

    bool ParseCell(std::string_view text, Unit unit, std::uint64_t& value) const override;
    ParseStatus ParseEditor(std::string_view text, std::uint64_t& value) const override;

protected:
    // digits: the upper-case digits of the radix. noLeadingZeros: a text of more
    // than one character may not begin with '0'.
    IntegerValueCodec(int base, std::string_view digits, bool noLeadingZeros);

    // Whether c (upper case) may stand at position of a text.
    virtual bool IsDigit(char c, Unit unit, std::size_t position) const;
    // Whether a text built from digits is acceptable: no leading zero where they
    // are banned, and a value in the unit's range.
    virtual bool IsAcceptable(std::string_view text, Unit unit) const;
    // The cell value whose text is the longest for the unit.
    virtual std::uint64_t WidestValue(Unit unit) const;

    bool HasLeadingZero(std::string_view text) const;
    int Base() const { return m_base; }

    static bool IsKnownUnit(Unit unit);
    // All-ones value of the unit (a known unit).
    static std::uint64_t UnitMax(Unit unit);

private:
    int m_base;
    std::string_view m_digits;
    bool m_noLeadingZeros;
};

} // namespace codec
