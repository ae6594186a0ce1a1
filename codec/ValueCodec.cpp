#include "codec/ValueCodec.h"

#include "platform/Coding.h"

#include "codec/BinaryValueCodec.h"
#include "codec/ClassicLocale.h"
#include "codec/DecimalValueCodec.h"
#include "codec/HexadecimalValueCodec.h"
#include "codec/OctalValueCodec.h"
#include "codec/RealValueCodec.h"
#include "codec/RowText.h"

#include <algorithm>
#include <limits>

namespace codec {
namespace {

struct Codecs {
    BinaryValueCodec binary;
    OctalValueCodec octal;
    DecimalValueCodec decimal;
    HexadecimalValueCodec hexadecimal;
    RealValueCodec single{RealValueCodec::Precision::Single};
    RealValueCodec doubleReal{RealValueCodec::Precision::Double};
};

const Codecs& AllCodecs()
{
    static const Codecs codecs;
    return codecs;
}

const RealValueCodec* RealCodecFor(Radix radix)
{
    if (radix == RADIX_FLOAT)
        return &AllCodecs().single;
    if (radix == RADIX_DOUBLE)
        return &AllCodecs().doubleReal;
    return nullptr;
}

const AbstractValueCodec* CodecFor(Radix radix)
{
    switch (radix) {
    case RADIX_BIN: return &AllCodecs().binary;
    case RADIX_OCT: return &AllCodecs().octal;
    case RADIX_DEC: return &AllCodecs().decimal;
    case RADIX_HEX: return &AllCodecs().hexadecimal;
    default: return RealCodecFor(radix);
    }
}

} // namespace

int GetCellBytes(Unit unit)
{
    switch (unit) {
    case UNIT_8BIT: return 1;
    case UNIT_32BIT: return 4;
    case UNIT_64BIT: return 8;
    default: return 2;
    }
}

int GetMaxCellChars(Radix radix, Unit unit)
{
    const AbstractValueCodec* codec = CodecFor(radix);
    return codec ? codec->MaxChars(unit) : 0;
}

std::string FormatCellValue(std::span<const std::uint8_t> cell, Radix radix, Unit unit)
{
    const AbstractValueCodec* codec = CodecFor(radix);
    if (!codec)
        return {};
    // A real reads 4 or 8 bytes whatever the unit says; never read beyond the cell.
    const auto count = static_cast<std::size_t>(codec->CellBytes(unit));
    if (cell.size() < count)
        return {};
    return codec->Format(coding::GetUnsignedLE(cell.data(), count), unit);
}

double CellNumber(std::span<const std::uint8_t> cell, Radix radix, Unit unit)
{
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    const std::string text = FormatCellValue(cell, radix, unit);
    if (text.empty())
        return kNone;
    int base = 0;
    switch (radix) {
    case RADIX_BIN: base = 2; break;
    case RADIX_OCT: base = 8; break;
    case RADIX_HEX: base = 16; break;
    default: break;
    }
    if (base != 0) {
        const auto value = ClassicLocale::ToUnsigned(text, base);
        return value.used == text.size() ? static_cast<double>(value.value) : kNone;
    }
    const auto value = ClassicLocale::ToDouble(text);
    return value.used == text.size() ? value.value : kNone;
}

std::string FormatExactCellValue(std::span<const std::uint8_t> cell, Radix radix, Unit unit)
{
    const RealValueCodec* real = RealCodecFor(radix);
    if (!real)
        return FormatCellValue(cell, radix, unit);
    const auto count = static_cast<std::size_t>(real->CellBytes(unit));
    if (cell.size() < count)
        return {};
    return real->FormatExact(coding::GetUnsignedLE(cell.data(), count), unit);
}

std::string FormatBinaryDigits(std::uint64_t value, int bitCount)
{
    if (bitCount <= 0)
        return {};
    std::string digits(static_cast<std::size_t>(bitCount), '0');
    for (int bit = 0; bit < bitCount && bit < 64; ++bit) {
        if ((value >> bit) & 1u)
            digits[static_cast<std::size_t>(bitCount - 1 - bit)] = '1';
    }
    return digits;
}

std::string ExpToPlain(std::string_view exponentText, int precision)
{
    return RealValueCodec::ExpToPlain(exponentText, precision);
}

std::string FormatRowText(std::span<const std::uint8_t> bytes)
{
    return RowText(bytes, platform::AnsiCodePage());
}

bool CheckInsertion(std::string_view insert, Radix radix, Unit unit, int start, int end, std::string& text)
{
    const AbstractValueCodec* codec = CodecFor(radix);
    if (!codec)
        return false;
    // The editor's selection should lie inside its text; if it does not, take
    // the nearest positions inside rather than touch memory outside the text.
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
    const int first = std::clamp(start, 0, length);
    const int last = std::clamp(end, first, length);
    return codec->Insert(insert, unit, static_cast<std::size_t>(first), static_cast<std::size_t>(last), text);
}

bool ValidateNumberText(std::string_view text, Radix radix, Unit unit, std::string& normalised)
{
    normalised.clear();
    const AbstractValueCodec* codec = CodecFor(radix);
    return codec && codec->Validate(text, unit, normalised);
}

bool ParseCellText(std::string_view text, Radix radix, Unit unit, std::vector<std::uint8_t>& cell)
{
    std::uint64_t value = 0;
    const AbstractValueCodec* codec = CodecFor(radix);
    const bool valid = codec && codec->ParseCell(text, unit, value);
    // A single's bits sit in the low 4 bytes, so this is right for every radix
    // and never writes more than the cell holds if radix and unit do not pair.
    coding::AssignUnsignedLE(cell, valid ? value : 0, static_cast<std::size_t>(GetCellBytes(unit)));
    return valid;
}

ParseStatus ParseRealText(std::string_view text, Radix radix, std::uint64_t& value)
{
    value = 0;
    const RealValueCodec* codec = RealCodecFor(radix);
    return codec ? codec->ParseReal(text, value) : PARSE_OK;
}

ParseStatus ParseEditorText(std::string_view text, Radix radix, Unit unit, std::vector<std::uint8_t>& cell)
{
    std::uint64_t value = 0;
    const AbstractValueCodec* codec = CodecFor(radix);
    const ParseStatus status = codec ? codec->ParseEditor(text, value) : PARSE_OK;
    if (status == PARSE_OK)
        coding::AssignUnsignedLE(cell, value, static_cast<std::size_t>(GetCellBytes(unit)));
    else
        cell.clear();
    return status;
}

} // namespace codec
