#pragma once

#include "codec/IntegerValueCodec.h"

namespace codec {

// Decimal: unsigned for 8-bit cells, two's-complement signed for 16, 32 and 64
// bits, in display and in input. No leading zeros.
class DecimalValueCodec final : public IntegerValueCodec {
public:
    DecimalValueCodec();
    std::string Format(std::uint64_t value, Unit unit) const override;

protected:
    bool IsDigit(char c, Unit unit, std::size_t position) const override;
    bool IsAcceptable(std::string_view text, Unit unit) const override;
    std::uint64_t WidestValue(Unit unit) const override;

private:
    static bool IsSigned(Unit unit);
};

} // namespace codec
