#include "codec/ClassicLocale.h"

#include <cerrno>
#include <cstdlib>
#include <string>

namespace codec {
namespace {

// The conversions want a terminated string; numbers are short, so a small
// buffer on the stack usually does.
class Terminated {
public:
    explicit Terminated(std::string_view text)
    {
        if (text.size() < sizeof(m_small)) {
            text.copy(m_small, text.size());
            m_small[text.size()] = '\0';
            m_text = m_small;
        } else {
            m_large.assign(text);
            m_text = m_large.c_str();
        }
    }
    const char* c_str() const { return m_text; }

private:
    char m_small[64];
    std::string m_large;
    const char* m_text;
};

template <typename T, typename Convert>
Conversion<T> Run(std::string_view text, Convert convert)
{
    const Terminated terminated(text);
    char* stop = nullptr;
    const int savedErrno = errno;
    errno = 0;
    Conversion<T> result;
    result.value = convert(terminated.c_str(), &stop);
    result.rangeError = errno == ERANGE;
    result.used = static_cast<std::size_t>(stop - terminated.c_str());
    errno = savedErrno;
    return result;
}

} // namespace

locale_t ClassicLocale::Handle()
{
    // "C" is built into the C library and needs no locale files, so this
    // cannot fail for want of an installed locale.
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", nullptr);
    return classic;
}

Conversion<std::uint64_t> ClassicLocale::ToUnsigned(std::string_view text, int base)
{
    return Run<std::uint64_t>(text, [base](const char* s, char** stop) {
        return static_cast<std::uint64_t>(strtoull_l(s, stop, base, Handle()));
    });
}

Conversion<std::int64_t> ClassicLocale::ToSigned(std::string_view text, int base)
{
    return Run<std::int64_t>(text, [base](const char* s, char** stop) {
        return static_cast<std::int64_t>(strtoll_l(s, stop, base, Handle()));
    });
}

Conversion<double> ClassicLocale::ToDouble(std::string_view text)
{
    return Run<double>(text, [](const char* s, char** stop) { return strtod_l(s, stop, Handle()); });
}

Conversion<float> ClassicLocale::ToFloat(std::string_view text)
{
    return Run<float>(text, [](const char* s, char** stop) { return strtof_l(s, stop, Handle()); });
}

ClassicLocale::Scope::Scope()
    : m_previous(uselocale(Handle()))
{
}

ClassicLocale::Scope::~Scope()
{
    uselocale(m_previous);
}

} // namespace codec
