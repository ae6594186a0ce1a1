#include "grid/DevicePrefix.h"

#include "model/DeviceNames.h"

std::vector<stDispDevString> DispDevStrings(const DeviceInfoArray& devices)
{
    std::vector<stDispDevString> names;
    names.reserve(devices.size());
    for (const stDeviceInfo& device : devices)
        names.push_back({device.Id, device.Name});
    return names;
}

std::string DevicePrefix(std::uint8_t code, std::span<const stDispDevString> names)
{
    for (const stDispDevString& entry : names) {
        if (entry.Id == code) {
            if (!entry.Name.empty())
                return entry.Name;
            break;
        }
    }
    return std::string(DeviceTwoLetterName(code));
}

std::string BlockName(std::uint8_t code, std::int16_t bank, std::span<const stDispDevString> names)
{
    std::string name = DevicePrefix(code, names);
    if (code == DeviceCode::FL)
        name += "#" + std::to_string(bank);
    return name;
}
