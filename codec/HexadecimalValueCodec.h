#pragma once

#include "codec/IntegerValueCodec.h"

namespace codec {

// Hexadecimal: upper-case digits zero-padded to the width of the unit, no prefix.
class HexadecimalValueCodec final : public IntegerValueCodec {
public:
    HexadecimalValueCodec();
    std::string Format(std::uint64_t value, Unit unit) const override;
};

} // namespace codec
