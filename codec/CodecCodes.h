#pragma once

// The codes of the value codec: radix, data unit and parse status.

namespace codec {

// Display radix; the numbers are the ones the program stores and shows.
enum class Radix : int { Bin = 0, Oct = 1, Dec = 2, Hex = 3, Float = 4, Double = 5 };
inline constexpr Radix RADIX_BIN = Radix::Bin;
inline constexpr Radix RADIX_OCT = Radix::Oct;
inline constexpr Radix RADIX_DEC = Radix::Dec;
inline constexpr Radix RADIX_HEX = Radix::Hex;       // the grid adds a text column
inline constexpr Radix RADIX_FLOAT = Radix::Float;   // goes with UNIT_32BIT
inline constexpr Radix RADIX_DOUBLE = Radix::Double; // goes with UNIT_64BIT

// Data unit.
enum class Unit : int { Bits8 = 0, Bits16 = 1, Bits32 = 2, Bits64 = 3 };
inline constexpr Unit UNIT_8BIT = Unit::Bits8;
inline constexpr Unit UNIT_16BIT = Unit::Bits16;
inline constexpr Unit UNIT_32BIT = Unit::Bits32;
inline constexpr Unit UNIT_64BIT = Unit::Bits64;

// Status of ParseRealText and ParseEditorText.
enum class ParseStatus : int { Ok = 0, BadText = 1, OutOfRange = 2 };
inline constexpr ParseStatus PARSE_OK = ParseStatus::Ok;
inline constexpr ParseStatus PARSE_BAD_TEXT = ParseStatus::BadText;        // the text is not entirely a number
inline constexpr ParseStatus PARSE_OUT_OF_RANGE = ParseStatus::OutOfRange; // overflow, or outside the real type's range

// The stored number of a radix, unit or status, and back. Numbers outside the
// known codes come back as they are; the functions below treat them as unknown.
constexpr int ToInt(Radix radix)
{
    return static_cast<int>(radix);
}
constexpr int ToInt(Unit unit)
{
    return static_cast<int>(unit);
}
constexpr int ToInt(ParseStatus status)
{
    return static_cast<int>(status);
}
constexpr Radix RadixFromInt(int code)
{
    return static_cast<Radix>(code);
}
constexpr Unit UnitFromInt(int code)
{
    return static_cast<Unit>(code);
}

} // namespace codec
