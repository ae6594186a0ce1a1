#include "codec/RealValueCodec.h"

#include "codec/ClassicLocale.h"
#include "codec/ValueCodec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>

namespace codec {
namespace {

// Accepted magnitudes (besides zero): the normal range of the type. Written as
// the shortest decimals that read back as exactly the smallest normal and the
// largest finite value, so a magnitude within them never rounds to infinity or
// into the denormals when it is narrowed to single.
constexpr double kSingleMin = 1.1754943508222875e-38;
constexpr double kSingleMax = 3.4028234663852886e38;
constexpr double kDoubleMin = 2.2250738585072014e-308;
constexpr double kDoubleMax = 1.7976931348623157e308;
static_assert(kSingleMin == static_cast<double>(std::numeric_limits<float>::min()));
static_assert(kSingleMax == static_cast<double>(std::numeric_limits<float>::max()));
static_assert(kDoubleMin == std::numeric_limits<double>::min());
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

bool InRange(double value, double min, double max)
{
    // Written so that a NaN passes: it is stored as it is.
    const double magnitude = std::fabs(value);
    return !(value != 0.0 && (magnitude < min || magnitude > max));
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
    const auto conversion = ClassicLocale::ToDouble(text);
    if (conversion.used != text.size())
        return PARSE_BAD_TEXT;
    if (conversion.rangeError)
        return PARSE_OUT_OF_RANGE;
    const double real = conversion.value;
    if (m_precision == Precision::Single) {
        if (!InRange(real, kSingleMin, kSingleMax))
            return PARSE_OUT_OF_RANGE;
        value = std::bit_cast<std::uint32_t>(static_cast<float>(real));
    } else {
        if (!InRange(real, kDoubleMin, kDoubleMax))
            return PARSE_OUT_OF_RANGE;
        value = std::bit_cast<std::uint64_t>(real);
    }
    return PARSE_OK;
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
