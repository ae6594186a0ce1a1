#include "model/DeviceNames.h"

#include "model/DeviceModel.h"

#include <array>
#include <cctype>
#include <utility>

namespace {

constexpr std::array<std::pair<std::uint8_t, std::string_view>, 9> kNames{{
    {DeviceCode::CS, "CS"},
    {DeviceCode::CE, "CE"},
    {DeviceCode::WR, "WR"},
    {DeviceCode::WL, "WL"},
    {DeviceCode::DT, "DT"},
    {DeviceCode::LD, "LD"},
    {DeviceCode::TS, "TS"},
    {DeviceCode::TE, "TE"},
    {DeviceCode::FL, "FL"},
}};

} // namespace

std::string_view DeviceTwoLetterName(std::uint8_t code)
{
    for (const auto& [known, name] : kNames) {
        if (known == code)
            return name;
    }
    return {};
}

std::optional<std::uint8_t> DeviceCodeFromTwoLetterName(std::string_view name)
{
    if (name.size() != 2)
        return std::nullopt;
    for (const auto& [code, known] : kNames) {
        if (std::toupper(static_cast<unsigned char>(name[0])) == known[0]
            && std::toupper(static_cast<unsigned char>(name[1])) == known[1])
            return code;
    }
    return std::nullopt;
}
