#include "codec/OctalValueCodec.h"

#include "codec/ValueCodec.h"

#include <cstdio>

namespace codec {

OctalValueCodec::OctalValueCodec()
    : IntegerValueCodec(8, "01234567", true)
{
}

std::string OctalValueCodec::Format(std::uint64_t value, Unit unit) const
{
    char text[32];
    switch (unit) {
    case UNIT_8BIT:
    case UNIT_16BIT:
    case UNIT_32BIT: std::snprintf(text, sizeof text, "%o", static_cast<unsigned>(value & UnitMax(unit))); return text;
    case UNIT_64BIT: std::snprintf(text, sizeof text, "%llo", static_cast<unsigned long long>(value)); return text;
    default: return {};
    }
}

} // namespace codec
