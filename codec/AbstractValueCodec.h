#pragma once

#include "codec/CodecCodes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace codec {

// Conversion between a cell value and its text for one display radix. A cell
// value is the cell's bytes read as a little-endian number, zero-extended to
// 64 bits; a real cell's value holds the bits of the single or double.
class AbstractValueCodec {
public:
    virtual ~AbstractValueCodec() = default;

    // Bytes the codec reads from a cell of the unit.
    virtual int CellBytes(Unit unit) const = 0;
    // Longest text of a cell of the unit; 0 when the unit has no text.
    virtual int MaxChars(Unit unit) const = 0;
    // Text of a cell value; empty when the unit has no text.
    virtual std::string Format(std::uint64_t value, Unit unit) const = 0;

    // Replaces text[start, end) by insert character by character; see CheckInsertion.
    // start and end lie inside the text, start <= end.
    virtual bool Insert(std::string_view insert, Unit unit, std::size_t start, std::size_t end,
                        std::string& text) const = 0;
    // Whether text is a valid number text; on true normalised holds its normal form.
    virtual bool Validate(std::string_view text, Unit unit, std::string& normalised) const = 0;

    // Paste and CSV import: value of the text, 0 when it has none; false when the text is invalid.
    virtual bool ParseCell(std::string_view text, Unit unit, std::uint64_t& value) const = 0;
    // Commit of the numeric editor: a PARSE_ status and the value (0 unless PARSE_OK).
    virtual ParseStatus ParseEditor(std::string_view text, std::uint64_t& value) const = 0;
};

} // namespace codec
