#include "resources/FormatText.h"

#include <cstdio>
#include <string>
#include <vector>

std::int64_t FormatArg::AsInteger() const
{
    if (const auto* n = std::get_if<std::int64_t>(&m_value))
        return *n;
    if (const auto* d = std::get_if<double>(&m_value))
        return static_cast<std::int64_t>(*d);
    return 0;
}

double FormatArg::AsDouble() const
{
    if (const auto* d = std::get_if<double>(&m_value))
        return *d;
    if (const auto* n = std::get_if<std::int64_t>(&m_value))
        return static_cast<double>(*n);
    return 0.0;
}

std::string FormatArg::AsText() const
{
    if (const auto* s = std::get_if<std::string>(&m_value))
        return *s;
    return {};
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

template <typename T>
std::string PrintOne(const std::string& directive, T value)
{
    const int size = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (size <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), directive.c_str(), value);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

} // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args)
{
    const FormatArg* next = args.begin();
    const FormatArg* const end = args.end();
    static const FormatArg kMissing(0);
    const auto take = [&]() -> const FormatArg& { return next != end ? *next++ : kMissing; };

    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < format.size() && format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::string directive = "%";
        while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos)
            directive += format[i++];
        if (i < format.size() && format[i] == '*') {
            directive += std::to_string(static_cast<int>(take().AsInteger()));
            ++i;
        }
        while (i < format.size() && IsDigit(format[i]) && directive.size() < 12)
            directive += format[i++];
        while (i < format.size() && IsDigit(format[i]))
            ++i; // absurd widths are cut rather than allocated
        if (i < format.size() && format[i] == '.') {
            directive += format[i++];
            if (i < format.size() && format[i] == '*') {
                directive += std::to_string(static_cast<int>(take().AsInteger()));
                ++i;
            }
            std::size_t digits = 0;
            while (i < format.size() && IsDigit(format[i])) {
                if (digits++ < 3)
                    directive += format[i];
                ++i;
            }
        }
        while (i < format.size() && std::string_view("hlLqjztI").find(format[i]) != std::string_view::npos) {
            if (format[i] == 'I' && format.substr(i, 3) == "I64")
                i += 3;
            else if (format[i] == 'I' && (format.substr(i, 3) == "I32"))
                i += 3;
            else
                ++i;
        }
        if (i >= format.size()) {
            out += directive; // a dangling '%' stays as written
            break;
        }
        const char conversion = format[i++];
        switch (conversion) {
        case 'd':
        case 'i': out += PrintOne(directive + "lld", static_cast<long long>(take().AsInteger())); break;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            out += PrintOne(directive + "ll" + conversion, static_cast<unsigned long long>(take().AsInteger()));
            break;
        case 'c': out += PrintOne(directive + 'c', static_cast<int>(take().AsInteger() & 0xFF)); break;
        case 's':
        case 'S': out += PrintOne(directive + 's', take().AsText().c_str()); break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G': out += PrintOne(directive + conversion, take().AsDouble()); break;
        default:
            out += directive;
            out += conversion;
            break;
        }
    }
    return out;
}
