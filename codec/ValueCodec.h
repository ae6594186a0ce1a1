#pragma once

// The value codec: the one place where the bytes of a grid cell and the text
// that stands for them meet. The grid, the clipboard, CSV files and the numeric
// editor all go through these functions.
//
// A cell is 1, 2, 4 or 8 bytes read as an unsigned little-endian number; a real
// cell reads the same bytes as an IEEE 754 single (4 bytes) or double (8 bytes).
// Texts are UTF-8; any character outside ASCII is simply not a valid digit.
// Numbers are read and written with "." as decimal point whatever the user's
// locale.

#include "codec/CodecCodes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace codec {

// Bytes per cell: 1, 2, 4 or 8; any other unit code gives 2.
int GetCellBytes(Unit unit);

// Longest text a cell of the radix and unit can have, in characters (0 for an
// unknown radix, and for octal, decimal and hexadecimal with an unknown unit).
int GetMaxCellChars(Radix radix, Unit unit);

// Text of one cell. The caller passes GetCellBytes(unit) bytes (4 for a single,
// 8 for a double); with fewer bytes, or an unknown radix, the text is empty.
// A NaN real shows 39 dots, an infinite one "inf" or "-inf".
std::string FormatCellValue(std::span<const std::uint8_t> cell, Radix radix, Unit unit);

// The number a cell shows, for plotting: the value of FormatCellValue's text
// (signed where the decimal radix shows a sign, a real as its single or
// double); NaN when the cell has no text or shows no number.
double CellNumber(std::span<const std::uint8_t> cell, Radix radix, Unit unit);

// Text of one cell for the clipboard and CSV files, which must give the same
// bytes back: the grid's text where it reads back as the cell's bytes (always
// for the integer radixes), otherwise for a real the shortest text that does;
// a NaN is "NaN" or "-NaN" (its payload is not kept).
std::string FormatExactCellValue(std::span<const std::uint8_t> cell, Radix radix, Unit unit);

// Exactly bitCount characters '0'/'1', most significant first (0 or less: empty).
std::string FormatBinaryDigits(std::uint64_t value, int bitCount);

// Plain decimal form of a real printed as "%.{precision}e": "1.234560e+02" with
// precision 6 gives "123.456". Trailing zeros go, one digit after the '.' stays.
// A text whose exponent no double has (beyond +-1000) comes back unchanged.
std::string ExpToPlain(std::string_view exponentText, int precision);

// The text column of the hexadecimal grid: a row's bytes as characters of the
// ANSI code page, in UTF-8. Bytes that are no character become '.'; in a
// single-byte code page the text ends at the first zero byte.
std::string FormatRowText(std::span<const std::uint8_t> bytes);

// Replaces text[start, end) by insert, one character at a time, and says whether
// every intermediate text is a valid (possibly unfinished) number of the radix
// and unit; lower-case letters are taken in upper case. Only binary, octal,
// decimal and hexadecimal have such texts. Positions outside the text are moved
// to its nearest end. On false, text holds an intermediate state to discard.
bool CheckInsertion(std::string_view insert, Radix radix, Unit unit, int start, int end, std::string& text);

// Whether text is a valid number text of the radix and unit (an empty text is
// not); on true, normalised is the text in upper case, otherwise empty.
bool ValidateNumberText(std::string_view text, Radix radix, Unit unit, std::string& normalised);

// Bytes for paste and CSV import. cell always ends up with GetCellBytes(unit)
// bytes: the value, or all zero when the text is invalid (then false). A real
// text out of range also gives zeros, but true.
bool ParseCellText(std::string_view text, Radix radix, Unit unit, std::vector<std::uint8_t>& cell);

// Reads a real text: a single's bits in the low 4 bytes of value (upper 4 zero),
// a double's bits in all 8. Every value of the type is accepted: zero, normals,
// denormals, infinities and NaN ("inf", "NaN", in any case), and the grid's
// text of a NaN; a finite text beyond the largest value, or too small to be
// anything but zero, is PARSE_OUT_OF_RANGE, a text that is not entirely a
// number (trailing blanks included) PARSE_BAD_TEXT. value is 0 unless
// PARSE_OK; a radix that is not real gives PARSE_OK and 0.
ParseStatus ParseRealText(std::string_view text, Radix radix, std::uint64_t& value);

// Commit conversion of the numeric editor, whose text is already checked:
// integer radixes convert without further checks (an empty text is 0), reals
// as ParseRealText. With PARSE_OK, cell gets GetCellBytes(unit) bytes,
// otherwise it is emptied.
ParseStatus ParseEditorText(std::string_view text, Radix radix, Unit unit, std::vector<std::uint8_t>& cell);

} // namespace codec
