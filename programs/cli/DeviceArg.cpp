#include "programs/cli/DeviceArg.h"

#include "programs/cli/NumberArgs.h"
#include "model/DeviceNames.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::uint8_t> ResolveName(const std::string& name, const DeviceInfoArray& devices)
{
    for (const stDeviceInfo& device : devices) {
        if (SameText(device.Name, name))
            return device.Id;
    }
    if (const auto code = DeviceCodeFromTwoLetterName(name))
        return code;
    if (const auto number = ParseIntArg(name); number && *number >= 0 && *number <= 255)
        return static_cast<std::uint8_t>(*number);
    return std::nullopt;
}

std::optional<std::int32_t> Address(const std::string& text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    return ParseIntArg(text);
}

} // namespace

std::optional<DeviceArg> ParseDeviceArg(const std::string& text, const DeviceInfoArray& devices, bool allowRange,
                                        std::string& error)
{
    std::string name = text;
    DeviceArg arg;
    if (const auto colon = name.find(':'); colon != std::string::npos) {
        if (!allowRange) {
            error = "a range is not expected in '" + text + "'";
            return std::nullopt;
        }
        const std::string range = name.substr(colon + 1);
        name.erase(colon);
        const auto dash = range.find('-');
        arg.start = Address(range.substr(0, dash));
        arg.end = dash == std::string::npos ? std::nullopt : Address(range.substr(dash + 1));
        if (!arg.start || !arg.end) {
            error = "'" + range + "' is not a range START-END";
            return std::nullopt;
        }
    }
    if (const auto hash = name.find('#'); hash != std::string::npos) {
        const auto bank = Address(name.substr(hash + 1));
        if (!bank || *bank > INT16_MAX) {
            error = "'" + name.substr(hash + 1) + "' is not a bank number";
            return std::nullopt;
        }
        arg.bank = static_cast<std::int16_t>(*bank);
        name.erase(hash);
    }
    const auto code = ResolveName(name, devices);
    if (!code || std::none_of(devices.begin(), devices.end(), [&](const stDeviceInfo& d) { return d.Id == *code; })) {
        error = "the model has no device '" + name + "'";
        return std::nullopt;
    }
    arg.code = *code;
    return arg;
}
