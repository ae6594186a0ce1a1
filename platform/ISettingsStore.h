#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The program's configuration: a per-user key with named sections ("Config",
// "Recent File List", "Settings") and a read-only machine key written by the
// installation ("LangMax", "Language", "RegisteredOwner", "RegisteredOrganization").
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    virtual int GetUserInt(std::string_view section, std::string_view name, int defaultValue) const = 0;
    virtual void SetUserInt(std::string_view section, std::string_view name, int value) = 0;
    virtual std::string GetUserString(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const = 0;
    virtual void SetUserString(std::string_view section, std::string_view name, std::string_view value) = 0;
    virtual void RemoveUserValue(std::string_view section, std::string_view name) = 0;

    // The machine key can be absent as a whole; that differs from an absent value.
    virtual bool MachineKeyExists() const = 0;
    virtual std::optional<std::string> GetMachineString(std::string_view name) const = 0;
};

} // namespace platform
