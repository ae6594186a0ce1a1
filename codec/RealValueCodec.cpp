#include "codec/RealValueCodec.h"

#include "codec/ClassicLocale.h"
#include "codec/ValueCodec.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

namespace codec {
namespace {

// The largest finite values, written as the shortest decimals that read back
// as exactly them: a finite text beyond them is refused, not rounded.
constexpr double kSingleMax = 3.4028234663852886e38;
constexpr double kDoubleMax = 1.7976931348623157e308;
static_assert(kSingleMax == static_cast<double>(std::numeric_limits<float>::max()));
static_assert(kDoubleMax == std::numeric_limits<double>::max());

// No double has a decimal exponent beyond this (the smallest denormal is about
// 4.9e-324); a text with a larger one does not come from formatting a double.
constexpr int kMaxExponent = 1000;

// The integer after the 'e': optional blanks and sign, then digits up to the
// first non-digit. Saturates just beyond kMaxExponent instead of overflowing.
int ReadExponent(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = std::min(n * 10 + (text[i] - '0'), kMaxExponent + 1);
    return negative ? -n : n;
}

} // namespace

RealValueCodec::RealValueCodec(Precision precision)
    : m_precision(precision)
{
}

int RealValueCodec::CellBytes(Unit) const
{
    return m_precision == Precision::Single ? 4 : 8;
}

int RealValueCodec::MaxChars(Unit) const
{
    return kMaxChars;
}

std::string RealValueCodec::Format(std::uint64_t value, Unit) const
{
    const bool single = m_precision == Precision::Single;
    const double real = single ? static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(value)))
                               : std::bit_cast<double>(value);
    if (std::isnan(real))
        return std::string(kMaxChars, '.');
    // The plain form is defined for finite values only; an infinity is shown
    // as "inf" or "-inf" (our choice, the C library's word for it).
    if (std::isinf(real))
        return real < 0 ? "-inf" : "inf";

    const int precision = single ? 6 : 14;
    char exponentText[48];
    {
        const ClassicLocale::Scope classic;
        std::snprintf(exponentText, sizeof exponentText, single ? "%.6e" : "%.14e", real);
    }
    std::string plain = ExpToPlain(exponentText, precision);
    if (plain.size() > static_cast<std::size_t>(kMaxChars))
        return exponentText;
    return plain;
}

bool RealValueCodec::Insert(std::string_view, Unit, std::size_t, std::size_t, std::string&) const
{
    return false;
}

bool RealValueCodec::Validate(std::string_view, Unit, std::string& normalised) const
{
    normalised.clear();
    return false;
}

bool RealValueCodec::ParseCell(std::string_view text, Unit, std::uint64_t& value) const
{
    // A text out of range or no number leaves the cell zero, but counts as read.
    ParseReal(text, value);
    return true;
}

ParseStatus RealValueCodec::ParseEditor(std::string_view text, std::uint64_t& value) const
{
    return ParseReal(text, value);
}

ParseStatus RealValueCodec::ParseReal(std::string_view text, std::uint64_t& value) const
{
    value = 0;
    const bool single = m_precision == Precision::Single;
    // The grid's own text of a NaN, so that a cell's shown text is always a
    // text the editor takes.
    if (text.size() == static_cast<std::size_t>(kMaxChars) && text.find_first_not_of('.') == std::string_view::npos) {
        value = single ? std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN())
                       : std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN());
        return PARSE_OK;
    }
    const auto conversion = ClassicLocale::ToDouble(text);
    if (conversion.used != text.size())
        return PARSE_BAD_TEXT;
    const double real = conversion.value;
    // Infinities and NaN are taken when they are written as such. A number
    // beyond the largest finite value, or one so small that it would be
    // stored as zero, is refused rather than changed into another value;
    // denormals are stored as they are.
    if (conversion.rangeError && (std::isinf(real) || real == 0.0))
        return PARSE_OUT_OF_RANGE;
    if (std::isfinite(real) && std::fabs(real) > (single ? kSingleMax : kDoubleMax))
        return PARSE_OUT_OF_RANGE;
    if (!single) {
        value = std::bit_cast<std::uint64_t>(real);
        return PARSE_OK;
    }
    // Read again in single precision: narrowing the double would round twice
    // and could miss the nearest single.
    const auto narrow = ClassicLocale::ToFloat(text);
    if (narrow.rangeError && narrow.value == 0.0f)
        return PARSE_OUT_OF_RANGE;
    value = std::bit_cast<std::uint32_t>(narrow.value);
    return PARSE_OK;
}

std::string RealValueCodec::FormatExact(std::uint64_t value, Unit unit) const
{
    const bool single = m_precision == Precision::Single;
    const double real = single ? static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(value)))
                               : std::bit_cast<double>(value);
    // The payload of a NaN is not kept: its text reads back as the quiet NaN
    // of its sign.
    if (std::isnan(real))
        return std::signbit(real) ? "-NaN" : "NaN";

    const auto readsBack = [&](const std::string& text) {
        std::uint64_t back = 0;
        return ParseReal(text, back) == PARSE_OK && back == value;
    };
    std::string shown = Format(value, unit);
    if (readsBack(shown))
        return shown;
    char buffer[64];
    char* end = single ? std::to_chars(buffer, std::end(buffer), static_cast<float>(real)).ptr
                       : std::to_chars(buffer, std::end(buffer), real).ptr;
    std::string shortest(buffer, end);
    if (readsBack(shortest))
        return shortest;
    // The shortest single text of the largest singles lies just above the
    // accepted range; the exact value of the single, written as a double, does not.
    end = std::to_chars(buffer, std::end(buffer), real).ptr;
    return std::string(buffer, end);
}

std::string RealValueCodec::ExpToPlain(std::string_view exponentText, int precision)
{
    const std::size_t e = exponentText.rfind('e');
    const std::string_view mantissa = exponentText.substr(0, e);
    const int n = e == std::string_view::npos ? 0 : ReadExponent(exponentText.substr(e + 1));
    if (n > kMaxExponent || n < -kMaxExponent)
        return std::string(exponentText);
    const int p = std::clamp(precision, 0, kMaxExponent);

    std::string digits(mantissa);
    if (const std::size_t point = digits.find('.'); point != std::string::npos)
        digits.erase(point, 1);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
        digits.erase(0, 1);

    if (n < 0) {
        digits.insert(0, static_cast<std::size_t>(-n - 1), '0');
        digits.insert(0, "0.");
    } else if (n >= p) {
        digits.append(static_cast<std::size_t>(n - p), '0');
        digits += ".0";
    } else {
        digits.insert(std::min(static_cast<std::size_t>(n) + 1, digits.size()), 1, '.');
    }

    // Drop trailing zeros (and blanks), keeping one digit after the point.
    while (digits.size() > 3 && (digits.back() == '0' || digits.back() == ' ') && digits[digits.size() - 2] != '.')
        digits.pop_back();

    return negative ? "-" + digits : digits;
}

} // namespace codec
