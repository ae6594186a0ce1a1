#include "codec/BinaryValueCodec.h"

#include "codec/ValueCodec.h"

namespace codec {

BinaryValueCodec::BinaryValueCodec()
    : IntegerValueCodec(2, "01", false)
{
}

std::string BinaryValueCodec::Format(std::uint64_t value, Unit unit) const
{
    return FormatBinaryDigits(value, 8 * GetCellBytes(unit));
}

} // namespace codec
