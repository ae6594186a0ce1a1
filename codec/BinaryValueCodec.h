#pragma once

#include "codec/IntegerValueCodec.h"

namespace codec {

// Binary: always 8 digits per cell byte, most significant first.
class BinaryValueCodec final : public IntegerValueCodec {
public:
    BinaryValueCodec();
    std::string Format(std::uint64_t value, Unit unit) const override;
};

} // namespace codec
