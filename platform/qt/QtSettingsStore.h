#pragma once

#include "platform/ISettingsStore.h"

#include <memory>

class QSettings;

namespace platform {

// Settings in QSettings files, organization "Varnholt", application "Memorix":
// the user scope stands for the per-user key, the system scope for the machine key.
// Both follow XDG_CONFIG_HOME and XDG_CONFIG_DIRS, which is how tests redirect them.
class QtSettingsStore final : public ISettingsStore {
public:
    QtSettingsStore();
    ~QtSettingsStore() override;

    int GetUserInt(std::string_view section, std::string_view name, int defaultValue) const override;
    void SetUserInt(std::string_view section, std::string_view name, int value) override;
    std::string GetUserString(std::string_view section, std::string_view name,
                              std::string_view defaultValue) const override;
    void SetUserString(std::string_view section, std::string_view name, std::string_view value) override;
    void RemoveUserValue(std::string_view section, std::string_view name) override;

    bool MachineKeyExists() const override;
    std::optional<std::string> GetMachineString(std::string_view name) const override;

    std::string UserFileName() const;

private:
    std::unique_ptr<QSettings> m_user;
    std::unique_ptr<QSettings> m_machine;
};

} // namespace platform
