#include "programs/cli/NumberArgs.h"

#include "codec/ValueCodec.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string_view>

std::optional<int> ParseIntArg(const std::string& text)
{
    std::string_view digits = text;
    int base = 10;
    bool negative = false;
    if (!digits.empty() && digits.front() == '-') {
        negative = true;
        digits.remove_prefix(1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<codec::Radix> ParseRadixArg(const std::string& text)
{
    static constexpr std::array<std::string_view, 6> names{"bin", "oct", "dec", "hex", "float", "double"};
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lower == names[i] || lower == std::to_string(i))
            return codec::RadixFromInt(static_cast<int>(i));
    }
    return std::nullopt;
}

std::optional<codec::Unit> ParseUnitArg(const std::string& text)
{
    if (text == "8")
        return codec::UNIT_8BIT;
    if (text == "16")
        return codec::UNIT_16BIT;
    if (text == "32")
        return codec::UNIT_32BIT;
    if (text == "64")
        return codec::UNIT_64BIT;
    return std::nullopt;
}
