#pragma once

#include "platform/ISettingsStore.h"

#include <map>
#include <string>

namespace platform {

// Settings held in memory: for tests and for tools that must not touch the user's files.
class MemorySettingsStore final : public ISettingsStore {
public:
    int GetUserInt(std::string_view section, std::string_view name, int defaultValue) const override;
    void SetUserInt(std::string_view section, std::string_view name, int value) override;
    std::string GetUserString(std::string_view section, std::string_view name,
                              std::string_view defaultValue) const override;
    void SetUserString(std::string_view section, std::string_view name, std::string_view value) override;
    void RemoveUserValue(std::string_view section, std::string_view name) override;

    bool MachineKeyExists() const override { return m_bMachineKey; }
    std::optional<std::string> GetMachineString(std::string_view name) const override;

    // Creates the machine key if needed and sets one of its values.
    void SetMachineString(std::string_view name, std::string_view value);
    void SetMachineKeyExists(bool exists) { m_bMachineKey = exists; }

private:
    static std::string Key(std::string_view section, std::string_view name);

    std::map<std::string, std::string> m_user;
    std::map<std::string, std::string, std::less<>> m_machine;
    bool m_bMachineKey = false;
};

} // namespace platform
