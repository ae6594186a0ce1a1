#pragma once

// Test messages show the codec's codes as their numbers.

#include "codec/CodecCodes.h"

#include <ostream>

namespace codec {

inline std::ostream& operator<<(std::ostream& out, Radix radix)
{
    return out << ToInt(radix);
}

inline std::ostream& operator<<(std::ostream& out, Unit unit)
{
    return out << ToInt(unit);
}

inline std::ostream& operator<<(std::ostream& out, ParseStatus status)
{
    return out << ToInt(status);
}

} // namespace codec
