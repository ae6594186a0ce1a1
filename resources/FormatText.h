#pragma once

// printf-style formatting for texts whose format comes from outside the code
// (the language library). Arguments carry their own type, so a format that
// asks for another type or more arguments than given cannot read garbage: an
// integer conversion takes the next argument's number, a string conversion its
// text, and a missing argument counts as 0 or "".

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

class FormatArg {
public:
    FormatArg(int value)
        : m_value(static_cast<std::int64_t>(value))
    {
    }
    FormatArg(unsigned value)
        : m_value(static_cast<std::int64_t>(value))
    {
    }
    FormatArg(long value)
        : m_value(static_cast<std::int64_t>(value))
    {
    }
    FormatArg(long long value)
        : m_value(static_cast<std::int64_t>(value))
    {
    }
    FormatArg(unsigned long value)
        : m_value(static_cast<std::int64_t>(value))
    {
    }
    FormatArg(unsigned long long value)
        : m_value(static_cast<std::int64_t>(value))
    {
    }
    FormatArg(double value)
        : m_value(value)
    {
    }
    FormatArg(const char* text)
        : m_value(std::string(text ? text : ""))
    {
    }
    FormatArg(std::string text)
        : m_value(std::move(text))
    {
    }
    FormatArg(std::string_view text)
        : m_value(std::string(text))
    {
    }

    std::int64_t AsInteger() const;
    double AsDouble() const;
    std::string AsText() const;

private:
    std::variant<std::int64_t, double, std::string> m_value;
};

// Supports the flags "-+ #0", a width and a precision (digits or '*'), the
// length modifiers h, hh, l, ll, I64 (ignored: arguments know their size) and
// the conversions d i u o x X c s S e E f g G and %%.
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args = {});
