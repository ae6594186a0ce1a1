#include "codec/DecimalValueCodec.h"

#include "codec/ClassicLocale.h"
#include "codec/ValueCodec.h"

#include <algorithm>
#include <cstdio>

namespace codec {

DecimalValueCodec::DecimalValueCodec()
    : IntegerValueCodec(10, "0123456789", true)
{
}

std::string DecimalValueCodec::Format(std::uint64_t value, Unit unit) const
{
    char text[32];
    switch (unit) {
    case UNIT_8BIT: std::snprintf(text, sizeof text, "%d", static_cast<int>(value & 0xFFu)); return text;
    case UNIT_16BIT:
        std::snprintf(text, sizeof text, "%d", static_cast<int>(static_cast<std::int16_t>(value)));
        return text;
    case UNIT_32BIT:
        std::snprintf(text, sizeof text, "%d", static_cast<int>(static_cast<std::int32_t>(value)));
        return text;
    case UNIT_64BIT:
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(static_cast<std::int64_t>(value)));
        return text;
    default: return {};
    }
}

bool DecimalValueCodec::IsDigit(char c, Unit unit, std::size_t position) const
{
    if (c == '-')
        return position == 0 && IsSigned(unit);
    return IntegerValueCodec::IsDigit(c, unit, position);
}

bool DecimalValueCodec::IsAcceptable(std::string_view text, Unit unit) const
{
    if (!IsSigned(unit))
        return IntegerValueCodec::IsAcceptable(text, unit);
    if (HasLeadingZero(text))
        return false;
    if (text.find('-') != std::string_view::npos) {
        // One sign, in front, not followed by a zero: "-" alone is an unfinished
        // text, "-0", "-05" and "5-" are no numbers. Inserting a second '-' in
        // front of "-5" would otherwise pass as "--5", which reads as 0.
        if (text[0] != '-' || std::count(text.begin(), text.end(), '-') > 1 || text.find('0') == 1)
            return false;
    }
    const auto conversion = ClassicLocale::ToSigned(text, 10);
    if (conversion.rangeError)
        return false;
    const int bits = 8 * GetCellBytes(unit);
    const std::int64_t max = static_cast<std::int64_t>(~std::uint64_t{0} >> (65 - bits));
    const std::int64_t min = -max - 1;
    return conversion.value >= min && conversion.value <= max;
}

std::uint64_t DecimalValueCodec::WidestValue(Unit unit) const
{
    // The most negative value; for unsigned 8-bit cells 255.
    if (!IsSigned(unit))
        return IntegerValueCodec::WidestValue(unit);
    return std::uint64_t{1} << (8 * GetCellBytes(unit) - 1);
}

bool DecimalValueCodec::IsSigned(Unit unit)
{
    return unit == UNIT_16BIT || unit == UNIT_32BIT || unit == UNIT_64BIT;
}

} // namespace codec
