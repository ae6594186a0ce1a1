#pragma once

#include "codec/AbstractValueCodec.h"

namespace codec {

// IEEE 754 single or double. Shown in plain decimal form with 7 or 15
// significant digits, or in exponent form when the plain form is too long.
class RealValueCodec final : public AbstractValueCodec {
public:
    enum class Precision { Single, Double };

    explicit RealValueCodec(Precision precision);

    int CellBytes(Unit unit) const override;
    int MaxChars(Unit unit) const override;
    std::string Format(std::uint64_t value, Unit unit) const override;

    // Reals have no digit-by-digit check: both fail.
    bool Insert(std::string_view insert, Unit unit, std::size_t start, std::size_t end,
                std::string& text) const override;
    bool Validate(std::string_view text, Unit unit, std::string& normalised) const override;

    bool ParseCell(std::string_view text, Unit unit, std::uint64_t& value) const override;
    ParseStatus ParseEditor(std::string_view text, std::uint64_t& value) const override;

    // See codec::ParseRealText.
    ParseStatus ParseReal(std::string_view text, std::uint64_t& value) const;
    // See codec::FormatExactCellValue.
    std::string FormatExact(std::uint64_t value, Unit unit) const;
    // See codec::ExpToPlain.
    static std::string ExpToPlain(std::string_view exponentText, int precision);

    // Longest text of a real cell.
    static constexpr int kMaxChars = 39;

private:
    Precision m_precision;
};

} // namespace codec
