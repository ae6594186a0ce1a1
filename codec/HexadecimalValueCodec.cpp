#include "codec/HexadecimalValueCodec.h"

#include "codec/ValueCodec.h"

#include <cstdio>

namespace codec {

HexadecimalValueCodec::HexadecimalValueCodec()
    : IntegerValueCodec(16, "0123456789ABCDEF", false)
{
}

std::string HexadecimalValueCodec::Format(std::uint64_t value, Unit unit) const
{
    char text[32];
    switch (unit) {
    case UNIT_8BIT: std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value & 0xFFu)); return text;
    case UNIT_16BIT: std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value & 0xFFFFu)); return text;
    case UNIT_32BIT: std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value & 0xFFFFFFFFu)); return text;
    case UNIT_64BIT: std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(value)); return text;
    default: return {};
    }
}

} // namespace codec
