#pragma once

#include "codec/IntegerValueCodec.h"

namespace codec {

// Octal: no prefix, no leading zeros.
class OctalValueCodec final : public IntegerValueCodec {
public:
    OctalValueCodec();
    std::string Format(std::uint64_t value, Unit unit) const override;
};

} // namespace codec
