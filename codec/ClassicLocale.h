#pragma once

#include <cstddef>
#include <cstdint>
#include <locale.h>
#include <string_view>

namespace codec {

// Result of a number conversion: the value, how many characters were used
// (0 when there was no number) and whether the C library reported a range error.
template <typename T>
struct Conversion {
    T value = 0;
    std::size_t used = 0;
    bool rangeError = false;
};

// Number conversions with the rules of strtoull, strtoll and strtod in the "C"
// locale, so the decimal point is '.' whatever locale the user runs in.
class ClassicLocale {
public:
    // Leading white space and a sign are accepted; a '-' gives the two's complement.
    static Conversion<std::uint64_t> ToUnsigned(std::string_view text, int base);
    static Conversion<std::int64_t> ToSigned(std::string_view text, int base);
    static Conversion<double> ToDouble(std::string_view text);
    // As ToDouble, rounded once, straight to single precision.
    static Conversion<float> ToFloat(std::string_view text);

    // While a Scope lives, printf-style formatting on this thread uses the "C" locale.
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        locale_t m_previous;
    };

private:
    static locale_t Handle();
};

} // namespace codec
