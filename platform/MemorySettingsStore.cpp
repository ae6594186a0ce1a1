#include "platform/MemorySettingsStore.h"

#include <cstdlib>

namespace platform {

std::string MemorySettingsStore::Key(std::string_view section, std::string_view name)
{
    std::string key(section);
    key += '/';
    key += name;
    return key;
}

int MemorySettingsStore::GetUserInt(std::string_view section, std::string_view name, int defaultValue) const
{
    const auto it = m_user.find(Key(section, name));
    if (it == m_user.end())
        return defaultValue;
    return static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
}

void MemorySettingsStore::SetUserInt(std::string_view section, std::string_view name, int value)
{
    m_user[Key(section, name)] = std::to_string(value);
}

std::string MemorySettingsStore::GetUserString(std::string_view section, std::string_view name,
                                               std::string_view defaultValue) const
{
    const auto it = m_user.find(Key(section, name));
    return it == m_user.end() ? std::string(defaultValue) : it->second;
}

void MemorySettingsStore::SetUserString(std::string_view section, std::string_view name, std::string_view value)
{
    m_user[Key(section, name)] = std::string(value);
}

void MemorySettingsStore::RemoveUserValue(std::string_view section, std::string_view name)
{
    m_user.erase(Key(section, name));
}

std::optional<std::string> MemorySettingsStore::GetMachineString(std::string_view name) const
{
    if (!m_bMachineKey)
        return std::nullopt;
    const auto it = m_machine.find(name);
    if (it == m_machine.end())
        return std::nullopt;
    return it->second;
}

void MemorySettingsStore::SetMachineString(std::string_view name, std::string_view value)
{
    m_bMachineKey = true;
    m_machine[std::string(name)] = std::string(value);
}

} // namespace platform
